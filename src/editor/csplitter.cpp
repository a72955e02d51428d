#include "csplitter.h"

#include <utility>

namespace calvenor {

void cSplitter::CreateSplitter(int direction, int splitterStartPos, int splitterSize, int leftMargin, int topMargin,
                               int rightMargin, int bottomMargin)
{
    m_direction = direction == Stacked ? Stacked : SideBySide;
    m_splitterSize = splitterSize;
    m_left = leftMargin;
    m_top = topMargin;
    m_right = rightMargin;
    m_bottom = bottomMargin;
    LeftPanelVisible = RightPanelVisible = true;
    m_dragging = false;
    m_splitPosition = splitterStartPos;
    if (m_createdBefore && m_splitPosition >= containerExtent())
        m_splitPosition = containerExtent() / 2;
    m_barPosition = m_splitPosition;
    m_createdBefore = true;
}

int cSplitter::containerExtent() const
{
    return m_direction == SideBySide ? m_width : m_height;
}

void cSplitter::Resize(int containerHeight, int containerWidth)
{
    const int extent = m_direction == SideBySide ? containerWidth : containerHeight;
    if (m_barPosition > extent && extent > 1800)
        m_barPosition = extent - 90;
    m_height = containerHeight;
    m_width = containerWidth;
}

void cSplitter::PressBar(int x, int y, bool leftButton)
{
    if (!leftButton)
        return;
    m_dragging = true;
    m_pressX = x;
    m_pressY = y;
    m_barAtPress = m_barPosition;
}

bool cSplitter::MoveBar(int x, int y, bool leftButton)
{
    if (!m_dragging || !leftButton)
        return false;
    const int proposed = m_barAtPress + (m_direction == SideBySide ? x - m_pressX : y - m_pressY);
    if (proposed <= MinLeftPanelWidth + 30 || proposed >= containerExtent() - MinRightPanelWidth)
        return false;
    m_barPosition = proposed;
    return true;
}

void cSplitter::ReleaseBar()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    m_splitPosition = m_barPosition;
}

bool cSplitter::DragTo(int position)
{
    PressBar(m_barPosition, m_barPosition, true);
    const bool taken = MoveBar(position, position, true);
    ReleaseBar();
    return taken;
}

void cSplitter::SwapPanels()
{
    Swapped = !Swapped;
}

cSplitter::Layout cSplitter::layout() const
{
    Layout result;
    const int innerWidth = m_width - m_left - m_right;
    const int innerHeight = m_height - m_top - m_bottom;
    const QRect whole(m_left, m_top, innerWidth, innerHeight);
    result.barVisible = LeftPanelVisible && RightPanelVisible;
    if (!result.barVisible) {
        if (LeftPanelVisible)
            result.pane1 = whole;
        else if (RightPanelVisible)
            result.pane2 = whole;
    } else if (m_direction == SideBySide) {
        result.bar = QRect(m_barPosition, m_top, m_splitterSize, innerHeight);
        result.pane1 = QRect(m_left, m_top, m_barPosition - m_left, innerHeight);
        const int pane2Left = m_barPosition + m_splitterSize;
        result.pane2 = QRect(pane2Left, m_top, m_width - (result.pane1.width() + m_left + m_splitterSize + m_right),
                             innerHeight);
    } else {
        result.bar = QRect(m_left, m_barPosition, innerWidth, m_splitterSize);
        result.pane1 = QRect(m_left, m_top, innerWidth, m_barPosition - m_top);
        const int pane2Top = m_barPosition + m_splitterSize;
        result.pane2 = QRect(m_left, pane2Top, innerWidth,
                             m_height - (result.pane1.height() + m_top + m_splitterSize + m_bottom));
    }
    if (Swapped)
        std::swap(result.pane1, result.pane2);
    return result;
}

} // namespace calvenor
