#pragma once

// Scroll arithmetic of one axis of the thumbnail list: content size, page and position.
class CScrollAxis
{
public:
    static constexpr int kLineStep = 60;
    // Wheel-lines setting that means "scroll one page per notch".
    static constexpr int kWheelPage = -1;

    // New content and visible sizes. A visible size below the content shows a bar whose page is
    // the visible size; the position keeps its share of the old page.
    void SetSizes(int content, int visible);
    void ScrollTo(int position);
    void LineUp() { ScrollTo(m_pos - kLineStep); }
    void LineDown() { ScrollTo(m_pos + kLineStep); }
    void PageUp() { ScrollTo(m_pos - m_page); }
    void PageDown() { ScrollTo(m_pos + m_page); }
    // Applies one wheel event; returns false when there is nothing to scroll.
    bool Wheel(int delta, int wheelLines);

    // Line steps for one wheel event: max(1, lines x (|delta| / 120) / 3).
    static int WheelSteps(int delta, int wheelLines);

    int Content() const { return m_content; }
    int Page() const { return m_page; }
    int Position() const { return m_pos; }
    int Maximum() const { return m_page > 0 ? m_content - m_page : 0; }
    bool HasRange() const { return m_page > 0; }

private:
    int m_content = 0;
    int m_page = 0;
    int m_pos = 0;
};
