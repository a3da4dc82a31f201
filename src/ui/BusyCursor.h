#pragma once

#include <cstdint>

// Application-wide cursor identifiers: 0 is the default cursor (no override), -11 the hourglass.
inline constexpr std::int16_t crDefault = 0;
inline constexpr std::int16_t crHourGlass = -11;

// Cursor that was set when the hourglass last went up.
extern std::int16_t SavedCursor;

// Shows the hourglass; if it is already up, changes nothing (there is no nesting count).
void BeginBusyCursor();
// Sets the application-wide cursor back to SavedCursor.
void EndBusyCursor();

// The application-wide cursor now set, and a way to set one (tests, and the pair above).
std::int16_t ApplicationCursor();
void SetApplicationCursor(std::int16_t cursor);
