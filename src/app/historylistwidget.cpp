#include "historylistwidget.h"

#include "formlanguage.h"
#include "historyrowdelegate.h"
#include "editor/stalefolders.h"
#include "core/historyrowstore.h"
#include "editor/historycleanup.h"

#include "sectiontree.h"

#include "editor/historylist.h"
#include "editor/historylistmodel.h"
#include "editor/rowfilter.h"
#include "editor/visiblerow.h"
#include "settings/csettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QVBoxLayout>

namespace calvenor {

int VirtualKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Up: return 38;
    case Qt::Key_Down: return 40;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Menu: return 93;
    case Qt::Key_Delete: return 46;
    case Qt::Key_F2: return 113;
    default: return 0;
    }
}

int ShiftStateOf(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

HistoryListWidget::HistoryListWidget(HistoryList &list, QWidget *parent)
    : QWidget(parent)
    , m_list(list)
    , m_filterBox(new QLineEdit(this))
    , m_view(new QListView(this))
    , m_empty(new QLabel(this))
    , m_panel(new QWidget(this))
    , m_captionLabel(new QLabel(m_panel))
    , m_caption(new QLineEdit(m_panel))
    , m_lock(new QCheckBox(m_panel))
    , m_lockBut(new QCheckBox(m_panel))
{
    setObjectName(QStringLiteral("HistoryList1"));
    m_view->setObjectName(QStringLiteral("ListView1"));
    m_empty->setObjectName(QStringLiteral("lblEmpty"));
    m_panel->setObjectName(QStringLiteral("picTabPanel"));
    m_captionLabel->setObjectName(QStringLiteral("lblTabCaption"));
    m_caption->setObjectName(QStringLiteral("txtTabCaption"));
    m_lock->setObjectName(QStringLiteral("chkLockTab"));
    m_lockBut->setObjectName(QStringLiteral("chkLockButTab"));

    m_filterBox->setObjectName(QStringLiteral("txtFilter"));
    m_filterBox->setClearButtonEnabled(true);
    // One model for the view and the commands: the engine's rows through its filter.
    m_view->setModel(list.shownModel());
    m_view->setItemDelegate(new HistoryRowDelegate(m_view));
    m_view->setUniformItemSizes(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    // A second click on the current row edits it in place, where renaming is offered
    // (the model says so); F2 and the Rename command go through the engine.
    m_view->setEditTriggers(QAbstractItemView::SelectedClicked);
    m_view->setDragEnabled(true);
    m_view->setAcceptDrops(true);
    m_view->setDropIndicatorShown(true);
    m_view->setDragDropMode(QAbstractItemView::DragDrop);
    m_view->setDefaultDropAction(Qt::MoveAction);
    m_view->installEventFilter(this);
    m_caption->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
    m_captionLabel->setBuddy(m_caption);
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->hide();

    auto *panelLayout = new QGridLayout(m_panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    // The panel fits the width the splitter leaves: it never widens the pane, and it
    // goes onto two lines where one would squeeze the caption box.
    m_panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_panel->installEventFilter(this);
    arrangePanel();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_filterBox);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_empty, 1);
    layout->addWidget(m_panel);

    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &current) {
        const int row = current.isValid() ? sourceRow(current) : -1;
        if (!m_showing && row >= 0 && row != m_list.currentRow())
            m_list.ClickRow(row);
    });
    connect(m_view, &QListView::doubleClicked, this, [this] { m_list.DoubleClick(); });
    connect(&m_list, &HistoryList::CurrentRowChanged, this, &HistoryListWidget::showCurrentRow);
    connect(&m_list, &HistoryList::EditRequested, this, [this](int row) {
        // A row the filter hides (a new entry, say) is shown to be edited.
        if (!viewIndex(row).isValid())
            m_filterBox->clear();
        const QModelIndex index = viewIndex(row);
        m_view->setCurrentIndex(index);
        m_view->edit(index);
    });
    connect(m_filterBox, &QLineEdit::textChanged, this, &HistoryListWidget::SetFilter);
    connect(&m_list, &HistoryList::TabPanelChanged, this, &HistoryListWidget::showPanel);
    connect(m_caption, &QLineEdit::textEdited, &m_list, &HistoryList::CaptionEdited);
    connect(m_caption, &QLineEdit::returnPressed, &m_list, &HistoryList::CaptionEnter);
    connect(m_lock, &QCheckBox::clicked, &m_list, &HistoryList::LockTabClicked);
    connect(m_lockBut, &QCheckBox::clicked, &m_list, &HistoryList::LockButTabClicked);
    ChangeLanguage();
    showPanel();
}

void HistoryListWidget::SetFolderCheck(StaleFolders *folders)
{
    m_list.model()->setFolderCheck(folders);
    if (folders)
        connect(folders, &StaleFolders::Known, m_view->viewport(), qOverload<>(&QWidget::update),
                Qt::UniqueConnection);
}

int HistoryListWidget::CaptionWidth() const
{
    // About 25 characters: a tab's caption such as "Documents" shows whole.
    return m_caption->fontMetrics().averageCharWidth() * 25 + 12;
}

void HistoryListWidget::arrangePanel()
{
    auto *grid = static_cast<QGridLayout *>(m_panel->layout());
    const int spacing = qMax(0, grid->horizontalSpacing());
    const int oneLine = m_captionLabel->sizeHint().width() + CaptionWidth() + m_lock->sizeHint().width()
        + m_lockBut->sizeHint().width() + 3 * spacing;
    const bool twoLines = m_panel->width() < oneLine;
    m_caption->setMinimumWidth(
        qMax(0, qMin(CaptionWidth(), m_panel->width() - m_captionLabel->sizeHint().width() - spacing)));
    const int lines = twoLines ? 2 : 1;
    if (lines == m_panelLines)
        return;
    m_panelLines = lines;
    for (QWidget *widget : {static_cast<QWidget *>(m_captionLabel), static_cast<QWidget *>(m_caption),
                            static_cast<QWidget *>(m_lock), static_cast<QWidget *>(m_lockBut)})
        grid->removeWidget(widget);
    grid->addWidget(m_captionLabel, 0, 0);
    if (twoLines) {
        grid->addWidget(m_caption, 0, 1, 1, 2);
        grid->addWidget(m_lock, 1, 0, 1, 2);
        grid->addWidget(m_lockBut, 1, 2);
    } else {
        grid->addWidget(m_caption, 0, 1);
        grid->addWidget(m_lock, 0, 2);
        grid->addWidget(m_lockBut, 0, 3);
    }
    for (int column = 0; column < 4; ++column)
        grid->setColumnStretch(column, 0);
    grid->setColumnStretch(twoLines ? 2 : 1, 1);
}

void HistoryListWidget::FinishOpenEdit()
{
    if (QWidget *editor = m_view->indexWidget(m_view->currentIndex())) {
        QAbstractItemDelegate *delegate = m_view->itemDelegateForIndex(m_view->currentIndex());
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void HistoryListWidget::SetShownSection(const QString &title)
{
    m_sectionName = title;
    m_view->setAccessibleName(QString(m_list.ChangeLanguage().entriesOf).replace(QStringLiteral("%1"), title));
}

void HistoryListWidget::ChangeLanguage()
{
    const HistoryList::PanelTexts texts = m_list.ChangeLanguage();
    m_captionLabel->setText(texts.caption);
    m_lock->setText(texts.lockTab);
    m_lockBut->setText(texts.lockButTab);
    m_empty->setText(texts.empty);
    m_filterBox->setPlaceholderText(texts.filter);
    m_filterBox->setAccessibleName(texts.filter);
    SetShownSection(m_sectionName);
    arrangePanel();
}

QColor ColorFromNumber(qint32 number, const QPalette &palette)
{
    if (number >= 0)
        return QColor(number & 0xFF, (number >> 8) & 0xFF, (number >> 16) & 0xFF);
    switch (number & 0xFF) {
    case 5: return palette.color(QPalette::Base);             // window background
    case 8: return palette.color(QPalette::Text);             // window text
    case 13: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    case 15: return palette.color(QPalette::Button);          // button face
    case 16: return palette.color(QPalette::Dark);            // button shadow
    case 17: return palette.color(QPalette::PlaceholderText); // grey text
    case 18: return palette.color(QPalette::ButtonText);
    default: return palette.color(QPalette::Text);
    }
}

void HistoryListWidget::SetNewSettings(const cSettings &settings)
{
    QFont font(settings.FontName, settings.FontSize);
    font.setBold(settings.FontStyle & 1);
    font.setItalic(settings.FontStyle & 2);
    font.setStrikeOut(settings.FontStyle & 4);
    font.setUnderline(settings.FontStyle & 8);
    m_view->setFont(font);
    m_caption->setFont(font);
    m_view->setFrameShape(settings.FixedBorders ? QFrame::StyledPanel : QFrame::NoFrame);
    m_view->setFrameShadow(settings.FlatUserInterface ? QFrame::Plain : QFrame::Sunken);
    // Grid lines: a line under every row.
    m_view->setStyleSheet(settings.CommandListShowLines
                              ? QStringLiteral("QListView::item { border-bottom: 1px solid palette(midlight); }")
                              : QString());
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Text, ColorFromNumber(settings.ForegroundColor, palette));
    palette.setColor(QPalette::Base, ColorFromNumber(settings.BackgroundColor, palette));
    m_view->setPalette(palette);
    m_list.SetNewSettings();
}

void HistoryListWidget::showPanel()
{
    m_showing = true;
    const TabPanelState &state = m_list.tabPanel();
    m_panel->setVisible(state.visible);
    m_panel->setEnabled(state.enabled);
    m_empty->setVisible(state.emptyBoxVisible);
    m_view->setVisible(!state.emptyBoxVisible);
    if (m_caption->text() != state.caption)
        m_caption->setText(state.caption);
    m_lock->setChecked(state.lockChecked);
    m_lockBut->setChecked(state.lockButChecked);
    m_showing = false;
}

void HistoryListWidget::showCurrentRow(int row)
{
    m_showing = true;
    const QModelIndex index = viewIndex(row);
    if (m_view->currentIndex() != index)
        m_view->setCurrentIndex(index);
    if (index.isValid())
        m_view->scrollTo(index);
    m_showing = false;
}

QModelIndex HistoryListWidget::viewIndex(int row) const
{
    if (row < 0)
        return QModelIndex();
    return m_list.shownModel()->mapFromSource(m_list.model()->index(row));
}

int HistoryListWidget::sourceRow(const QModelIndex &viewIndex) const
{
    return m_list.shownModel()->mapToSource(viewIndex).row();
}

void HistoryListWidget::SetFilter(const QString &text)
{
    if (m_filterBox->text() != text)
        m_filterBox->setText(text);   // comes back here through textChanged
    if (m_list.shownModel()->needle() == text)
        return;
    m_showing = true;
    m_list.SetFilter(text);
    m_showing = false;
    showCurrentRow(m_list.currentRow());
}

bool HistoryListWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panel && event->type() == QEvent::Resize)
        arrangePanel();
    if (watched == m_caption && event->type() == QEvent::ShortcutOverride) {
        // The caption is written into the tab as it is typed: undoing it is the
        // window's undo (the step and the pending state go too), not the box's own.
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeyCombination combination = key->keyCombination();
        if (key->matches(QKeySequence::Undo)
            || combination == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z)) {
            event->ignore();
            return true;
        }
    }
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int code = VirtualKeyOf(key->key());
        // Ctrl+Up/Down move the item where moves are offered, and do not also move the
        // list's selection.
        if (code != 0 && m_list.HandleKeyDown(code, ShiftStateOf(key->modifiers())))
            return true;
    } else if (watched == m_view && event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int code = VirtualKeyOf(key->key());
        if (code != 0 && !key->isAutoRepeat())
            m_list.KeyReleased(code, ShiftStateOf(key->modifiers()));
    } else if (watched == m_view && event->type() == QEvent::FocusIn) {
        m_focusedByClick = static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason;
    } else if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonPress) {
        // A second click on the current row edits it; the click that brings the focus
        // to the list (its current row already selected) is a first one.
        m_view->setEditTriggers(m_focusedByClick ? QAbstractItemView::NoEditTriggers
                                                 : QAbstractItemView::SelectedClicked);
        m_focusedByClick = false;
    } else if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const int button = mouse->button() == Qt::RightButton ? 2 : mouse->button() == Qt::MiddleButton ? 4 : 1;
        const QPoint at = mouse->position().toPoint();
        m_list.MouseButtonReleased(button, ShiftStateOf(mouse->modifiers()), at.x(), at.y());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace calvenor
