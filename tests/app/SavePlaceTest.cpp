#include "app/SavePlace.h"

#include "support/PrivateMounts.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

// Where a document can be saved, and the name its Save As offers when not in place.
namespace {

namespace fs = std::filesystem;

TEST(SavePlace, AWritableFolderTakesTheSaveUnlessTheTextIsReadOnlyOrHasNoFile) {
    TempFolder folder;
    const std::string path = folder.Write("prog.85", "nop\n");
    EXPECT_TRUE(SavePlace::CanSaveInPlace(path, false));
    EXPECT_TRUE(SavePlace::CanSaveInPlace(folder.File("new.85"), false)) << "not written yet";
    EXPECT_FALSE(SavePlace::CanSaveInPlace(path, true));
    EXPECT_FALSE(SavePlace::CanSaveInPlace("", false));
    EXPECT_FALSE(SavePlace::CanSaveInPlace(folder.File("missing/prog.85"), false));
}

TEST(SavePlace, AFolderTheUserMayNotWriteSendsTheSaveElsewhere) {
    TempFolder folder;
    const fs::path share = folder.path / "share";
    fs::create_directory(share);
    const std::string path = folder.Write("share/prog.85", "nop\n");
    const auto check = [&] { EXPECT_FALSE(SavePlace::CanSaveInPlace(path, false)); };
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(share.c_str(), 0555), 0);
        check();
        return;
    }
    const auto outcome =
        PrivateMounts::Run([&] { return PrivateMounts::MakeReadOnly(share.string()); }, check);
    if (outcome == PrivateMounts::Outcome::Unavailable) {
        GTEST_SKIP() << "running as root without a way to mount a read-only folder";
    }
    EXPECT_EQ(outcome, PrivateMounts::Outcome::Passed);
}

TEST(SavePlace, OffersTheDocumentsFolderThenHome) {
    TempFolder folder;
    const std::string documents = folder.File("Documents");
    const std::string home = folder.path.string();
    const std::string source = "/usr/share/zorvan/examples/led_digits.85";
    EXPECT_EQ(SavePlace::SuggestedPath(source, documents, home), home + "/led_digits.85")
        << "no Documents folder yet";
    fs::create_directory(documents);
    EXPECT_EQ(SavePlace::SuggestedPath(source, documents, home), documents + "/led_digits.85");
    EXPECT_EQ(SavePlace::SuggestedPath(source, "", ""), source);
}

} // namespace
