#include "simulator/ui/ToolbarIcons.h"

#include <QString>

QIcon ToolbarIcon(const char* name) {
    // The pictures live in this static library, which nothing else references by name.
    static const bool loaded = [] {
        Q_INIT_RESOURCE(simulator_toolbar);
        return true;
    }();
    (void)loaded;
    return QIcon(QStringLiteral(":/zorvan/simulator/toolbar/%1.svg").arg(QLatin1String(name)));
}
