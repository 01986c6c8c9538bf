#pragma once

// The program's name and version, as the About box, the splash and --version show them, and the
// settings location it keeps its recent files under.
namespace CAppInfo {
inline constexpr const char* Title = "Zorvan";
inline constexpr const char* VersionText = "1.8";
inline constexpr const char* SettingsOrganisation = "Local AppWizard-Generated Applications";
inline constexpr const char* SettingsApplication = "Zorvan";
} // namespace CAppInfo
