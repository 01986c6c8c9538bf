#pragma once

#include <string>
#include <string_view>

// The one message of searching: shown after every search that found nothing.
namespace SearchMessages {

constexpr const char* caption = "Zorvan";

// "Cannot find string" directly followed by the text between double quotes.
std::string NotFoundText(std::string_view what);
void ShowNotFound(std::string_view what);

} // namespace SearchMessages
