#pragma once
// What the program asks of its page. The page (page.mjs) holds the window's elements; these calls
// reach it through page_api.js, which turns the program's UTF-16 texts into the page's strings and
// back. A control is its index in creation order.

#include <cstddef>

extern "C" {

// Names control `control` by the id of its element ("txtBase1"), with its kind's events delivered to
// quillomat_event as event `event` (kPageInput, kPageClick) when `event` is not kPageNoEvent.
void quillomat_page_bind(int control, const char* name, int event);

// A box's text or a label's caption, in memory the caller frees with free(); its length in
// UTF-16 code units goes to `length`.
char16_t* quillomat_page_text(int control, std::size_t* length);
char16_t* quillomat_page_caption(int control, std::size_t* length);
// Whether the write changed the box's text.
int quillomat_page_set_text(int control, const char16_t* text, std::size_t length);
void quillomat_page_set_caption(int control, const char16_t* text, std::size_t length);
int quillomat_page_checked(int control);
void quillomat_page_set_visible(int control, int visible);
void quillomat_page_set_enabled(int control, int enabled);

// A modal message box with the text and one OK button; `error` marks a run-time error's report.
void quillomat_page_message(const char16_t* text, std::size_t length, int error);
void quillomat_page_end();

// The results on the clipboard of the copy the page is handling, as plain text and as HTML.
void quillomat_page_copy(const char16_t* plain, std::size_t plainLength, const char16_t* html, std::size_t htmlLength);
// The verdict's explanation: as its accessible description and, one sentence a line, its tooltip.
void quillomat_page_explanation(const char16_t* text, std::size_t length, const char16_t* lines,
                                std::size_t linesLength);
}

namespace quillomat::web {

// The events a page delivers.
inline constexpr int kPageNoEvent = 0;
inline constexpr int kPageInput = 1;  // a box's text was changed by the user: typed, deleted, pasted, dropped
inline constexpr int kPageClick = 2;  // a button or level was clicked, by pointer or keyboard

}  // namespace quillomat::web
