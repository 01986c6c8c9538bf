#pragma once

// The simulator's own settings, kept in the program's settings store under "Simulator": the pause
// of Animate after each instruction and whether steps and runs keep a history for Step Back.
namespace SimulatorSettings {

// Milliseconds, 50 to 2000; 400 when never set.
int AnimateDelayMs();
void SetAnimateDelayMs(int milliseconds);

// On when never set.
bool StepBackHistory();
void SetStepBackHistory(bool on);

} // namespace SimulatorSettings
