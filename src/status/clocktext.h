#pragma once
// The clock in the title: its text, its timer and the part of the title it
// owns, as plain functions.

#include <cstddef>
#include <ctime>

constexpr std::size_t kClockUnits = 160;

// The date and time to the minute in the user's locale, with a leading zero
// of the hour turned into a blank. False when the text does not fit.
bool ClockText(const std::tm& time, wchar_t* out, std::size_t capacity);

// Milliseconds from the given second of a minute to one second after the
// next full minute.
unsigned ClockInterval(int second);

// Takes the clock part last written (part) off the end of title, if the
// title still ends with it, and empties part. The clock part is recognised
// by its text, so a "(" of the desk folder's path is never taken for it.
void RemoveClockPart(wchar_t* title, wchar_t* part);

// Appends two blanks, "(", the clock text and ")" to title (capacity units),
// cut at the end where it does not fit, and keeps in part (also capacity
// units) what was actually appended.
void AppendClockPart(wchar_t* title, std::size_t capacity, const wchar_t* clock, wchar_t* part);
