#pragma once

namespace ao07::ui {

struct MainWindowControls;

/// Names every control that the program writes into for screen readers: a channel's value box
/// is heard as its caption ("Battery Voltage") with its text and unit as the value and the
/// description ("11.400 V"; a marked box's description goes on with why it is marked), a raw
/// cell as "Raw value 3A", the header boxes as "Orbit", "Date" and "Time", the two text boxes by
/// the captions above them.
void NameControlsForScreenReaders(const MainWindowControls& controls);

}  // namespace ao07::ui
