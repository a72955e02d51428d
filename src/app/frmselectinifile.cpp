#include "frmselectinifile.h"

#include "centerform.h"
#include "crecentfiles.h"
#include "formlanguage.h"
#include "programcontext.h"
#include "sectiontree.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace calvenor {
namespace {

QComboBox *makeField(const char *name)
{
    auto *field = new QComboBox;
    field->setObjectName(QString::fromLatin1(name));
    field->setEditable(true);
    field->setInsertPolicy(QComboBox::NoInsert);
    field->setMinimumContentsLength(48);
    field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return field;
}

QLabel *makePicture(const char *name, const QString &imageKey)
{
    auto *picture = new QLabel;
    picture->setObjectName(QString::fromLatin1(name));
    picture->setPixmap(SectionIcon(imageKey).pixmap(32, 32));
    return picture;
}

} // namespace

frmSelectIniFile::frmSelectIniFile(ProgramContext &context, PersonInterface &person, const cRecentFiles &recent,
                                   QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_wincmd(makeField("cboWincmd"))
    , m_wcxftp(makeField("cboWcxftp"))
{
    setObjectName(QStringLiteral("frmSelectIniFile"));
    auto *label1 = new QLabel(QStringLiteral("&Wincmd.ini"));
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setBuddy(m_wincmd);
    auto *label2 = new QLabel(QStringLiteral("W&cx_ftp.ini"));
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setBuddy(m_wcxftp);
    auto *browseWincmd = new QPushButton(QStringLiteral(">>"));
    browseWincmd->setObjectName(QStringLiteral("cmdBrowseForWincmdFile"));
    auto *browseWcxftp = new QPushButton(QStringLiteral(">>"));
    browseWcxftp->setObjectName(QStringLiteral("cmdBrowseForWcxftpFile"));
    for (QPushButton *button : {browseWincmd, browseWcxftp})
        button->setAutoDefault(false);
    // ">>" says nothing to a screen reader.
    browseWincmd->setAccessibleName(
        context.language.GetLanguageString(3341).replace(QStringLiteral("%1"), QStringLiteral("wincmd.ini")));
    browseWcxftp->setAccessibleName(
        context.language.GetLanguageString(3341).replace(QStringLiteral("%1"), QStringLiteral("wcx_ftp.ini")));

    auto *buttons = new QDialogButtonBox;
    m_ok = AddDialogButton(*buttons, QDialogButtonBox::AcceptRole, "cmdOK", 1008);
    AddDialogButton(*buttons, QDialogButtonBox::RejectRole, "cmdCancel", 1009);

    auto *grid = new QGridLayout(this);
    grid->addWidget(makePicture("Picture1", QStringLiteral("root")), 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(label1, 0, 1, 1, 2);
    grid->addWidget(m_wincmd, 1, 1);
    grid->addWidget(browseWincmd, 1, 2);
    grid->addWidget(makePicture("Picture2", QStringLiteral("oldconnections")), 2, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(label2, 2, 1, 1, 2);
    grid->addWidget(m_wcxftp, 3, 1);
    grid->addWidget(browseWcxftp, 3, 2);
    grid->addWidget(buttons, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    ApplyFormLanguage(*this, context.language, person);
    // Equal positions of the two lists belong to one recent pair; the placeholder of an
    // empty list is disabled and adds nothing.
    const QList<RecentFilesItem> &items = recent.MenuItems();
    for (int index = 1; index < items.size() - 2; ++index) {
        if (!items[index].enabled)
            continue;
        const QStringList pair = items[index].tag.split(context.settings.RecentFilesSeparator);
        m_wincmd->addItem(pair.value(0));
        m_wcxftp->addItem(pair.value(1));
    }
    m_wincmd->setCurrentIndex(-1);
    m_wcxftp->setCurrentIndex(-1);

    connect(browseWincmd, &QPushButton::clicked, this, [this] { browse(m_wincmd, 1); });
    connect(browseWcxftp, &QPushButton::clicked, this, [this] { browse(m_wcxftp, 2); });
    for (QComboBox *field : {m_wincmd, m_wcxftp})
        connect(field, &QComboBox::currentTextChanged, this, &frmSelectIniFile::updateOk);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        mblnOKPressed = true;
        m_wincmd->setEditText(Wincmd());
        m_wcxftp->setEditText(Wcxftp());
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        mblnOKPressed = false;
        reject();
    });
    updateOk();
    adjustSize();
    CenterForm(*this);
}

void frmSelectIniFile::SetPaths(const QString &wincmd, const QString &wcxftp)
{
    m_wincmd->setEditText(wincmd);
    m_wcxftp->setEditText(wcxftp);
    m_wincmd->lineEdit()->end(false);
    updateOk();
}

QString frmSelectIniFile::Wincmd() const
{
    return m_wincmd->currentText().trimmed();
}

QString frmSelectIniFile::Wcxftp() const
{
    return m_wcxftp->currentText().trimmed();
}

void frmSelectIniFile::updateOk()
{
    m_ok->setEnabled(!m_wincmd->currentText().isEmpty() || !m_wcxftp->currentText().isEmpty());
}

void frmSelectIniFile::browse(QComboBox *field, int filter)
{
    // The chooser opens in the file manager's folder and proposes the field's file name.
    cCommonDialog &dialog = m_context.dialog;
    dialog.ShowOpenDialog(m_context.paths.TCInstallDir(), fileNameOf(field->currentText()), filter, windowTitle(),
                          !mblnExport);
    if (!dialog.Success)
        return;
    field->setEditText(dialog.FileName);
    field->lineEdit()->end(false);
}

} // namespace calvenor
