#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;

namespace calvenor {

class HistoryList;
class StaleFolders;
class cSettings;

// A colour number of the settings as Qt draws it: a plain number is red + 256 green +
// 65536 blue; a negative one names a system colour, taken from the palette.
QColor ColorFromNumber(qint32 number, const QPalette &palette);

// The history list on screen: the list view over the engine's model, the "Empty" box,
// and the folder-tab panel below (caption box and the two lock boxes). It forwards
// clicks, keys, edits and drops to the engine and shows its state; it decides nothing.
class HistoryListWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HistoryListWidget(HistoryList &list, QWidget *parent = nullptr);

    QListView *view() const { return m_view; }
    // The width the caption box asks for.
    int CaptionWidth() const;
    // Shows only the rows containing text (ignoring case); empty shows them all. The
    // engine keeps working on the real rows; the current row stays current.
    void SetFilter(const QString &text);
    // Folder entries whose folder does not exist are shown dimmed and crossed, and say
    // so in their tooltip.
    void SetFolderCheck(StaleFolders *folders);
    // An in-place edit still open is finished with the text typed so far (before a
    // save or when the window closes, so nothing typed is lost).
    void FinishOpenEdit();
    // The title of the section shown (cSectionsData::Title), for the list's accessible name.
    void SetShownSection(const QString &title);
    // Texts of the labels, from the engine's language.
    void ChangeLanguage();
    // The list's look from the settings: font, grid lines, border, flat look, colours.
    void SetNewSettings(const cSettings &settings);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPanel();
    void arrangePanel();   // one line, or two where the pane is narrow
    void showCurrentRow(int row);
    QModelIndex viewIndex(int row) const;   // the view's index of an engine row (invalid when filtered out)
    int sourceRow(const QModelIndex &viewIndex) const;

    HistoryList &m_list;
    QLineEdit *m_filterBox;
    QListView *m_view;
    QLabel *m_empty;
    QWidget *m_panel;
    QLabel *m_captionLabel;
    QLineEdit *m_caption;
    QCheckBox *m_lock;
    QCheckBox *m_lockBut;
    bool m_showing = false;   // the engine is being mirrored: no gestures to forward
    bool m_focusedByClick = false;
    int m_panelLines = 0;
    QString m_sectionName;           // the shown section's title            // the tab panel's arrangement: 1 or 2 lines   // the list took the focus with the click now pressed
};

// Windows virtual key codes of the keys the engine reacts to, and the shift state
// (1 Shift, 2 Ctrl, 4 Alt) of Qt's modifiers.
int VirtualKeyOf(int qtKey);
int ShiftStateOf(Qt::KeyboardModifiers modifiers);

} // namespace calvenor
