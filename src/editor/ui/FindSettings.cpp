#include "editor/ui/FindSettings.h"

#include <QSettings>

namespace FindSettings {

namespace {

// The settings store nests groups at "/"; the sections are written with "\" between levels.
QString Group(const QString& section) {
    QString group = section;
    return group.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

const QString matchCaseKey = QStringLiteral("MatchCase");
const QString wholeWordKey = QStringLiteral("WholeWord");
const QString findWhatKey = QStringLiteral("FindWhat");
const QString replaceWithKey = QStringLiteral("ReplaceWith");

} // namespace

SearchOptions Read(const QString& section) {
    QSettings settings(organisation, application);
    settings.beginGroup(Group(section));
    SearchOptions options;
    options.matchCase = settings.value(matchCaseKey, 0).toInt() != 0;
    options.wholeWord = settings.value(wholeWordKey, 0).toInt() != 0;
    options.findWhat = FromQt(settings.value(findWhatKey).toString());
    if (section == replaceSection) {
        options.replaceWith = FromQt(settings.value(replaceWithKey).toString());
    }
    return options;
}

void Write(const QString& section, const SearchOptions& options) {
    QSettings settings(organisation, application);
    settings.beginGroup(Group(section));
    settings.setValue(matchCaseKey, options.matchCase ? 1 : 0);
    settings.setValue(wholeWordKey, options.wholeWord ? 1 : 0);
    settings.setValue(findWhatKey, ToQt(options.findWhat));
    if (section == replaceSection) {
        settings.setValue(replaceWithKey, ToQt(options.replaceWith));
    }
}

QString ToQt(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQt(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace FindSettings
