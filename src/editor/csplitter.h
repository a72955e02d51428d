#pragma once

#include <QRect>

namespace calvenor {

// The rules of the bar between the section tree (pane 1) and the history list (pane 2),
// in the container's unit, twips (15 per pixel): where the bar stands after it is
// created, dragged or its container resized, and where the panes go. The window's
// splitter widget shows what this computes; the rules live here so they are tested
// without a screen.
class cSplitter
{
public:
    static constexpr int kTwipsPerPixel = 15;
    enum Direction { SideBySide = 1, Stacked = 2 };   // 1: vertical bar; 2: horizontal bar

    struct Layout
    {
        QRect bar;
        QRect pane1;
        QRect pane2;
        bool barVisible = true;
    };

    // Takes the panes in the given direction with the bar at splitterStartPos. Created
    // again (a direction switch), a start position at or beyond the container's extent
    // in that direction puts the bar in the middle; the first creation keeps it.
    void CreateSplitter(int direction, int splitterStartPos, int splitterSize, int leftMargin = 0, int topMargin = 0,
                        int rightMargin = 0, int bottomMargin = 0);
    // A container that shrinks past the bar (and stays wider than 1800) moves the bar
    // to 90 before its far edge.
    void Resize(int containerHeight, int containerWidth);

    // A drag: only the left button moves the bar, by the pointer's travel since the
    // press; a position within MinLeftPanelWidth + 30 of the near edge, or within
    // MinRightPanelWidth of the far edge, is refused and the bar stays. The release
    // makes the bar's position the SplitPosition.
    void PressBar(int x, int y, bool leftButton);
    bool MoveBar(int x, int y, bool leftButton);
    void ReleaseBar();
    bool isDragging() const { return m_dragging; }
    // A whole drag that ended at this bar position (a splitter widget that moves the
    // bar itself reports only the end): the same acceptance rule; true when taken.
    bool DragTo(int position);

    int SplitPosition() const { return m_splitPosition; }
    int barPosition() const { return m_barPosition; }
    int direction() const { return m_direction; }
    int containerExtent() const;   // width side by side, height stacked
    Layout layout() const;

    // Pane 1 (the tree) takes the right or lower place, pane 2 the other.
    void SwapPanels();

    int MinLeftPanelWidth = 0;
    int MinRightPanelWidth = 0;
    bool Swapped = false;
    bool LeftPanelVisible = true;    // pane 1 shown; the bar shows while both panes do
    bool RightPanelVisible = true;   // pane 2 shown

private:
    int m_direction = SideBySide;
    int m_splitterSize = 3 * kTwipsPerPixel;
    int m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;
    int m_width = 0;
    int m_height = 0;
    int m_splitPosition = 0;
    int m_barPosition = 0;
    bool m_createdBefore = false;
    bool m_dragging = false;
    int m_pressX = 0;
    int m_pressY = 0;
    int m_barAtPress = 0;
};

} // namespace calvenor
