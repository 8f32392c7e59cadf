#pragma once

namespace merv {

class FocusTracker;

// KeyAscii values with a meaning of their own, for the core and every host.
namespace KeyAscii {
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Space = 32;
inline constexpr int Delete = 127; // not printable: a field ignores it as a character
} // namespace KeyAscii

// The keyboard rules every host shares, so a key does the same in each of them.
//
// A key by its KeyAscii for whatever has the focus: a text field takes it as typed (KeyPress,
// then the character); Enter and Space press a focused command button (its Click runs); other
// elements ignore it. False when nothing has the focus.
bool typeKey(FocusTracker& focus, char32_t keyAscii);

// Tab: the focus moves to the next element in focus order within the focused element's tree,
// wrapping round. False when nothing has the focus.
bool tabToNext(FocusTracker& focus);
// Shift+Tab: the same, to the previous element in focus order.
bool tabToPrevious(FocusTracker& focus);

} // namespace merv
