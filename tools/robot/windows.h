// Reading and driving the windows of another process (the program under test).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace robot {

// Top-level windows of process pid, in Z order; only visible ones unless all is true.
std::vector<HWND> TopWindows(DWORD pid, bool all = false);
std::wstring ClassOf(HWND window);
// The window's text. A window whose thread does not answer (busy without pumping) gives its
// title through InternalGetWindowText.
std::wstring TextOf(HWND window);
// A message box: a #32770 dialog with the text static 0xFFFF and the icon static 0x440.
bool IsMessageBox(HWND window);
// A message box of process pid, visible and top-level; null when none is open.
HWND FindMessageBox(DWORD pid);
// For failure messages: the class and title of each visible top-level window of process pid and
// the text of its message box, if one is open; "no window" when there is none.
std::string DescribeWindows(DWORD pid);
// The descendant of parent with control ID id; a visible one is preferred (property-sheet pages
// reuse IDs). Null when there is none.
HWND FindControl(HWND parent, int id);
// Returns once window's thread has taken up everything posted to it before.
void Settle(HWND window);
// Posts a key press (down and up, with the scan code) to the focused control of window's thread,
// or to the active window when nothing has the focus.
void PostKey(HWND window, UINT virtualKey);
// A real click (SendInput) of the left or right button at the screen point.
void ClickAt(POINT screen, bool right);
// A real right click (SendInput) at the screen point, never taken as half of a double click.
void RightClickAt(POINT screen);
// A real chord such as Alt+F4 (SendInput) to the foreground window: posted keys cannot carry a
// modifier's key state.
void SendChord(WORD modifier, WORD key);

// List views and tooltips through memory allocated in the target process.
int ListViewCount(HWND listView);
std::wstring ListViewText(HWND listView, int row, int column);
// 1 unchecked, 2 checked, 0 no check box.
int ListViewCheck(HWND listView, int row);
// Screen rectangle of a row; false when the row does not exist.
bool ListViewRowRect(HWND listView, int row, RECT& rect);
// Text of the tooltip tool registered for control (by handle or by ID); false when none.
bool TooltipText(DWORD pid, HWND control, std::wstring& text);

// Writes the screen, or the part of it in area, as a 24-bit BMP file. With shown, whatever of the
// area lies outside those rectangles (the bare screen) is written white.
bool SaveScreenshot(const std::wstring& path, const RECT* area = nullptr,
                    const std::vector<RECT>* shown = nullptr);

} // namespace robot
