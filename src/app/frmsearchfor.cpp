#include "frmsearchfor.h"

#include "centerform.h"
#include "formlanguage.h"
#include "programcontext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace calvenor {

frmSearchFor::frmSearchFor(ProgramContext &context, PersonInterface &person, HistoryList &list, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_person(person)
    , m_find(list, context.settings, person, context.language)
    , m_text(new QComboBox)
    , m_wholeWord(new QCheckBox)
    , m_findNext(new QPushButton)
    , m_clearList(new QPushButton)
{
    setObjectName(QStringLiteral("frmSearchFor"));
    setModal(false);
    SetLanguageId(this, 253);
    QLabel *label = AddLanguageLabel("Label1", 254, m_text);
    m_text->setObjectName(QStringLiteral("cboFindWhat"));
    m_text->setEditable(true);
    m_text->setInsertPolicy(QComboBox::NoInsert);
    m_text->setMinimumContentsLength(30);
    m_wholeWord->setObjectName(QStringLiteral("chkWholeWord"));
    SetLanguageId(m_wholeWord, 258);
    m_findNext->setObjectName(QStringLiteral("cmdFindNext"));
    SetLanguageId(m_findNext, 252);
    m_findNext->setDefault(true);
    auto *cancel = new QPushButton;
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    SetLanguageId(cancel, 1009);
    m_clearList->setObjectName(QStringLiteral("cmdClearList"));
    SetLanguageId(m_clearList, 109);
    for (QPushButton *button : {cancel, m_clearList})
        button->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_text, 0, 1);
    grid->addWidget(m_wholeWord, 1, 0, 1, 2);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    buttons->addWidget(cancel);
    buttons->addWidget(m_clearList);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 3, 1);
    grid->setColumnStretch(1, 1);

    ApplyLanguage();
    m_find.Load();
    showHistory();
    m_wholeWord->setChecked(m_find.wholeWord());
    m_clearList->setEnabled(false);

    connect(m_text, &QComboBox::currentTextChanged, this, &frmSearchFor::textChanged);
    connect(m_wholeWord, &QCheckBox::clicked, this, [this](bool checked) { m_find.setWholeWord(checked); });
    connect(m_findNext, &QPushButton::clicked, this, [this] {
        m_find.FindNextClicked();
        showHistory();
        PreSelectText();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
    connect(m_clearList, &QPushButton::clicked, this, [this] {
        m_find.ClearList();
        showHistory();
    });
    adjustSize();
    CenterForm(*this);
}

void frmSearchFor::ApplyLanguage()
{
    ApplyFormLanguage(*this, m_context.language, m_person);
}

void frmSearchFor::showHistory()
{
    // The list mirrors the history; the text stays what the person typed.
    m_showing = true;
    const QString text = m_find.text();
    m_text->clear();
    m_text->addItems(m_find.entries());
    m_text->setCurrentIndex(m_find.selectedEntry());
    m_text->setEditText(text);
    m_showing = false;
    m_findNext->setEnabled(m_find.findNextEnabled());
    m_clearList->setEnabled(m_find.clearListEnabled());
    emit FindNextEnabledChanged(m_find.findNextEnabled());
}

void frmSearchFor::textChanged(const QString &text)
{
    if (m_showing)
        return;
    const int picked = m_text->currentIndex();
    if (picked >= 0 && m_text->itemText(picked) == text)
        m_find.selectEntry(picked);
    else
        m_find.setText(text);
    m_findNext->setEnabled(m_find.findNextEnabled());
    emit FindNextEnabledChanged(m_find.findNextEnabled());
}

void frmSearchFor::FindNextString()
{
    m_find.FindNextString();
}

void frmSearchFor::PreSelectText()
{
    m_text->lineEdit()->selectAll();
}

void frmSearchFor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_text->setFocus();
    m_clearList->setEnabled(m_find.clearListEnabled());
}

} // namespace calvenor
