#include "simulator/ui/SimulatorSettings.h"

#include "simulator/CRunControl.h"

#include <QSettings>
#include <algorithm>

namespace SimulatorSettings {

namespace {

const QString organisation = QStringLiteral("Local AppWizard-Generated Applications");
const QString application = QStringLiteral("Zorvan");
const QString animateDelayKey = QStringLiteral("Simulator/AnimateDelayMs");
const QString historyKey = QStringLiteral("Simulator/StepBackHistory");

int Clamped(int milliseconds) {
    return std::clamp(milliseconds, CRunControl::MinAnimateDelayMs, CRunControl::MaxAnimateDelayMs);
}

} // namespace

int AnimateDelayMs() {
    QSettings settings(organisation, application);
    bool valid = false;
    const int value = settings.value(animateDelayKey, CRunControl::AnimateDelayMs).toInt(&valid);
    return valid ? Clamped(value) : CRunControl::AnimateDelayMs;
}

void SetAnimateDelayMs(int milliseconds) {
    QSettings settings(organisation, application);
    settings.setValue(animateDelayKey, Clamped(milliseconds));
}

bool StepBackHistory() {
    QSettings settings(organisation, application);
    return settings.value(historyKey, 1).toInt() != 0;
}

void SetStepBackHistory(bool on) {
    QSettings settings(organisation, application);
    settings.setValue(historyKey, on ? 1 : 0);
}

} // namespace SimulatorSettings
