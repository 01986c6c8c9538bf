#pragma once

#include "editor/SearchOptions.h"

#include <QString>

// The Find and Replace dialogs' values in the program's settings. A section such as
// "TextEdit\Find" is a group within a group; the values are "MatchCase" and "WholeWord" (0 or 1),
// "FindWhat" and, for Replace only, "ReplaceWith".
namespace FindSettings {

inline const QString organisation = QStringLiteral("Local AppWizard-Generated Applications");
inline const QString application = QStringLiteral("Zorvan");
inline const QString findSection = QStringLiteral("TextEdit\\Find");
inline const QString replaceSection = QStringLiteral("TextEdit\\Replace");

// Missing values read as their defaults: off and empty.
SearchOptions Read(const QString& section);
void Write(const QString& section, const SearchOptions& options);

// Texts of the 8-bit buffer, byte for byte.
QString ToQt(const std::string& text);
std::string FromQt(const QString& text);

} // namespace FindSettings
