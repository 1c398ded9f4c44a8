// The state and behaviour of one edit control window, behind editWindowProc.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "display/canvas.h"
#include "user32/edit_text.h"

namespace winapi {

// Where the text and the scroll bars lie in the client area, in cells.
struct EditLayout {
    int textCols = 0;
    int textRows = 0;
    bool verticalBar = false;
    bool horizontalBar = false;
};

class EditControl {
public:
    EditControl(HWND hwnd, const CREATESTRUCTA& create);

    // Model (edit.cpp).
    void setInitialText(const char* text);
    LRESULT setText(const char* text);
    LRESULT getText(size_t capacity, char* buffer) const;
    LRESULT getTextLength() const { return static_cast<LRESULT>(text_.size()); }
    LRESULT getSelection(DWORD* start, DWORD* end) const;
    void setSelection(LONG_PTR start, LONG_PTR end);
    void replaceSelection(const char* text);
    void copy() const;
    void cut();
    void paste();
    void clear();
    LRESULT lineCount() const { return static_cast<LRESULT>(text_.lineCount()); }
    LRESULT lineIndex(WPARAM line) const;
    LRESULT lineLength(WPARAM index) const;
    LRESULT lineFromChar(WPARAM index) const;
    LRESULT getLine(WPARAM line, char* buffer) const;
    LRESULT firstVisibleLine() const;
    void setReadOnly(bool readOnly);
    void setLimit(size_t limit);
    LRESULT limit() const { return static_cast<LRESULT>(limit_); }
    LRESULT modified() const { return modified_ ? TRUE : FALSE; }
    void setModified(bool modified) { modified_ = modified; }
    void setFont(HFONT font, bool redraw);
    HFONT font() const { return font_; }
    LRESULT dialogCode() const;

    // Input (edit_input.cpp).
    void keyDown(WPARAM key);
    void character(WPARAM ch);
    void setFocus();
    void killFocus();
    void mouseDown(LPARAM point, bool doubleClick);
    void mouseMove(LPARAM point);
    void mouseUp();
    void captureLost() { dragging_ = false; }
    void mouseWheel(WPARAM wParam);

    // Scrolling and painting (edit_view.cpp).
    void paint(Painter& painter);
    void paintWindow();
    BOOL lineScroll(LONG_PTR columns, LONG_PTR lines);
    LRESULT scroll(WPARAM action);
    void scrollBar(bool vertical, WPARAM wParam);
    void scrollCaretIntoView();
    void resized();
    void invalidate() const;

private:
    bool multiLine() const { return (style_ & ES_MULTILINE) != 0; }
    bool readOnly() const { return (style_ & ES_READONLY) != 0; }
    size_t selectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
    size_t selectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
    bool hasSelection() const { return anchor_ != caret_; }

    // edit.cpp
    void notify(WORD code) const;
    void notifyChange() const;
    void replaceRange(size_t start, size_t end, std::string_view with);
    bool insertTyped(std::string_view typed);
    size_t roomFor(size_t wanted) const;

    // edit_input.cpp
    void moveCaret(size_t position, bool extend);
    void moveVertically(long long lines, bool extend);
    void deleteForward();
    void deleteBackward();
    void typeByte(unsigned char byte);
    size_t hitTest(int col, int row) const;

    // edit_view.cpp
    EditLayout layout() const;
    int alignOffset(const EditLayout& layout) const;
    size_t maxFirstLine(const EditLayout& layout) const;
    size_t maxFirstColumn(const EditLayout& layout) const;
    void scrollTo(size_t line, size_t column);
    void paintText(Painter& painter, const EditLayout& layout) const;
    void paintScrollBars(Painter& painter, const EditLayout& layout) const;
    static EditLayout layoutFor(DWORD style, int cols, int rows);
    void placeCaret(const EditLayout& layout) const;
    bool scrollBarClick(int col, int row);

    HWND hwnd_ = nullptr;
    DWORD style_ = 0;
    EditText text_;
    size_t anchor_ = 0;  // the fixed end of the selection
    size_t caret_ = 0;   // the moving end, where the caret shows
    size_t goalColumn_ = 0;
    bool haveGoalColumn_ = false;  // Up and Down keep the column they started from
    size_t firstLine_ = 0;
    size_t firstColumn_ = 0;
    size_t limit_ = 0;
    bool modified_ = false;
    bool focused_ = false;
    bool dragging_ = false;
    HFONT font_ = nullptr;
    std::string pendingBytes_;  // a UTF-8 character typed one byte at a time
};

}  // namespace winapi
