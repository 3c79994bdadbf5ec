#include "tkvShowHTMLToIE.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "AssistantTestWindow.h"

namespace {

bool Exists(const std::string& agPath) {
    std::error_code ignored;
    return std::filesystem::exists(agPath, ignored);
}

std::string NameOf(const std::string& agPath) {
    return std::filesystem::path(agPath).filename().string();
}

class tkvShowHTMLToIETest : public ::testing::Test {
protected:
    TempFolder folder_;
    RecordingView view_;
};

TEST_F(tkvShowHTMLToIETest, APageFileIsPrivateUnguessableAndGoesWithItsObject) {
    auto first = std::make_unique<tkvShowHTMLToIE>();
    auto second = std::make_unique<tkvShowHTMLToIE>();
    EXPECT_EQ(first->Address(), "");
    EXPECT_FALSE(first->AddressCreated());
    first->SetAddressToBaseOn(folder_.Path());
    second->SetAddressToBaseOn(folder_.Path());
    ASSERT_TRUE(first->CreateAddress());
    ASSERT_TRUE(second->CreateAddress());
    EXPECT_TRUE(first->AddressCreated());

    EXPECT_NE(first->Address(), second->Address());
    for (const std::string& address : {first->Address(), second->Address()}) {
        SCOPED_TRACE(address);
        EXPECT_EQ(std::filesystem::path(address).parent_path(), folder_.Path());
        const std::string name = NameOf(address);
        ASSERT_GT(name.size(), 3u + 5u);
        EXPECT_EQ(name.substr(0, 3), "tkv");
        EXPECT_EQ(name.substr(name.size() - 5), ".html");
        struct stat status {};
        ASSERT_EQ(::stat(address.c_str(), &status), 0);
        EXPECT_TRUE(S_ISREG(status.st_mode));
        EXPECT_EQ(status.st_mode & 07777, 0600u);
        EXPECT_EQ(status.st_size, 0);
    }

    const std::string firstAddress = first->Address();
    first.reset();
    EXPECT_FALSE(Exists(firstAddress));
    EXPECT_TRUE(Exists(second->Address()));
    second.reset();
    EXPECT_TRUE(FolderEntries(folder_.Path()).empty());
}

TEST_F(tkvShowHTMLToIETest, WithoutAFolderThePageFileGoesToTheTemporaryFolder) {
    ScopedEnvironment temporaryFolder("TMPDIR", folder_.Path());
    tkvShowHTMLToIE shown;
    ASSERT_TRUE(shown.CreateAddress());
    EXPECT_EQ(std::filesystem::path(shown.Address()).parent_path(), folder_.Path());
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::string>{NameOf(shown.Address())});
}

TEST_F(tkvShowHTMLToIETest, ASecondCreateAddressReplacesTheFile) {
    tkvShowHTMLToIE shown;
    shown.SetAddressToBaseOn(folder_.Path());
    ASSERT_TRUE(shown.CreateAddress());
    const std::string old = shown.Address();
    ASSERT_TRUE(shown.CreateAddress());
    EXPECT_NE(shown.Address(), old);
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::string>{NameOf(shown.Address())});
}

TEST_F(tkvShowHTMLToIETest, AFolderThatIsNoFolderLeavesNoAddress) {
    WriteAllBytes(folder_.Path("plain.txt"), "a file");
    for (const std::string& base : {folder_.Path("plain.txt"), folder_.Path("missing")}) {
        SCOPED_TRACE(base);
        tkvShowHTMLToIE shown;
        shown.SetAddressToBaseOn(base);
        EXPECT_FALSE(shown.CreateAddress());
        EXPECT_EQ(shown.Address(), "");
        EXPECT_FALSE(shown.AddressCreated());
    }
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::string>{"plain.txt"});
}

TEST_F(tkvShowHTMLToIETest, ThePageIsWrittenInCp932WithReferencesForWhatItCannotCarry) {
    tkvShowHTMLToIE shown;
    shown.SetAddressToBaseOn(folder_.Path());
    shown.SetWebBrowser(&view_);
    shown.SetHTML("<p>あｱ髙①～😀</p>");
    ASSERT_TRUE(shown.Show());

    const std::string bytes = ReadAllBytes(shown.Address());
    // あ is 82 A0, the half-width ｱ the single byte B1.
    EXPECT_EQ(bytes.substr(0, 6), std::string("<p>\x82\xA0\xB1", 6));
    EXPECT_EQ(Cp932ToUtf8(bytes), "<p>あｱ髙①～&#128512;</p>");
    // The text in memory stays as it was set.
    EXPECT_EQ(shown.HTML(), "<p>あｱ髙①～😀</p>");
}

TEST_F(tkvShowHTMLToIETest, ShowWithoutAViewCreatesNothing) {
    tkvShowHTMLToIE shown;
    shown.SetAddressToBaseOn(folder_.Path());
    shown.SetHTML("<p>x</p>");
    EXPECT_FALSE(shown.Show());
    EXPECT_EQ(shown.Address(), "");
    EXPECT_FALSE(shown.AddressCreated());
    EXPECT_TRUE(FolderEntries(folder_.Path()).empty());
}

TEST_F(tkvShowHTMLToIETest, ThePageFileIsWrittenOnlyWhenTheTextChanged) {
    tkvShowHTMLToIE shown;
    shown.SetAddressToBaseOn(folder_.Path());
    shown.SetWebBrowser(&view_);
    EXPECT_TRUE(shown.HTMLChanged());
    shown.SetHTML("<p>one</p>");
    ASSERT_TRUE(shown.Show());
    EXPECT_FALSE(shown.HTMLChanged());
    EXPECT_EQ(ReadAllBytes(shown.Address()), "<p>one</p>");

    // A mark in the file shows whether it is written again.
    WriteAllBytes(shown.Address(), "mark");
    EXPECT_TRUE(shown.Show());
    shown.SetHTML("<p>one</p>");
    EXPECT_FALSE(shown.HTMLChanged());
    EXPECT_TRUE(shown.Show());
    EXPECT_EQ(ReadAllBytes(shown.Address()), "mark");
    EXPECT_EQ(view_.Addresses, std::vector<std::string>(3, shown.Address()));

    shown.SetHTML("<p>two, longer</p>");
    EXPECT_TRUE(shown.HTMLChanged());
    EXPECT_TRUE(shown.Show());
    EXPECT_EQ(ReadAllBytes(shown.Address()), "<p>two, longer</p>");
    EXPECT_EQ(view_.Addresses.size(), 4u);
}

TEST_F(tkvShowHTMLToIETest, TheFileIsCreatedWhenFirstShown) {
    tkvShowHTMLToIE shown;
    shown.SetAddressToBaseOn(folder_.Path());
    shown.SetWebBrowser(&view_);
    shown.SetHTML("<p>x</p>");
    EXPECT_EQ(shown.Prefix(), "tkv");
    ASSERT_TRUE(shown.Show());
    EXPECT_TRUE(shown.AddressCreated());
    EXPECT_EQ(view_.Addresses, std::vector<std::string>{shown.Address()});
    EXPECT_EQ(ReadAllBytes(shown.Address()), "<p>x</p>");
}

}  // namespace
