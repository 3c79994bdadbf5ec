#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "LocalHttpServer.h"
#include "TestFiles.h"
#include "VersionFiles.h"
#include "tkvCheckVersion.h"
#include "tkvNetRCtrl.h"
#include "tkvStringControl.h"

namespace {

// Short limits keep the cases of a silent server within a second.
constexpr int32_t kTestTimeout = 500;

class tkvCheckVersionTest : public ::testing::Test {
protected:
    void SetUp() override {
        check_.SetAddress(server_.Url());
        check_.SetClientProductName("Tarno.K.V. Dividora");
        SetClient(1, 2, 3);
        check_.SetConnectTimeout(kTestTimeout);
        check_.SetRequestTimeout(kTestTimeout);
    }
    void SetClient(int32_t agMajor, int32_t agMinor, int32_t agRevision) {
        check_.SetClientMajor(agMajor);
        check_.SetClientMinor(agMinor);
        check_.SetClientRevision(agRevision);
    }
    // Serves agFile and checks; true when the check reports a newer version.
    bool UpdatedAgainst(const VersionFile& agFile) {
        server_.ServeBody(agFile.Bytes());
        EXPECT_TRUE(check_.Check());
        return check_.IsUpDated();
    }

    LocalHttpServer server_;
    tkvCheckVersion check_;
};

VersionFile Version(int32_t agMajor, int32_t agMinor, int32_t agRevision) {
    VersionFile file;
    file.Major = agMajor;
    file.Minor = agMinor;
    file.Revision = agRevision;
    return file;
}

TEST_F(tkvCheckVersionTest, AnEqualVersionIsReadButNotNewer) {
    EXPECT_FALSE(UpdatedAgainst(Version(1, 2, 3)));
    EXPECT_EQ(check_.ServerProductName(), "Tarno.K.V. Dividora");
    EXPECT_EQ(check_.ServerMajor(), 1);
    EXPECT_EQ(check_.ServerMinor(), 2);
    EXPECT_EQ(check_.ServerRevision(), 3);
    EXPECT_EQ(check_.ServerUpdatedTime(), DateOf(2005, 3, 7));

    const std::string request = server_.LastRequest();
    EXPECT_EQ(request.rfind("GET /version.txt HTTP/1.1\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("\r\nCache-Control: no-cache\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\nUser-Agent: Dividora\r\n"), std::string::npos) << request;
}

TEST_F(tkvCheckVersionTest, NewerMeansGreaterInMajorThenMinorThenRevision) {
    EXPECT_TRUE(UpdatedAgainst(Version(1, 2, 4)));
    SetClient(1, 2, 9);
    EXPECT_TRUE(UpdatedAgainst(Version(1, 3, 0)));
    EXPECT_TRUE(UpdatedAgainst(Version(2, 0, 0)));
    EXPECT_FALSE(UpdatedAgainst(Version(1, 2, 8)));
    SetClient(1, 2, 0);
    EXPECT_FALSE(UpdatedAgainst(Version(1, 1, 9))) << "a greater revision alone is older";
    SetClient(2, 0, 5);
    EXPECT_FALSE(UpdatedAgainst(Version(1, 1, 0))) << "a greater minor alone is older";
}

TEST_F(tkvCheckVersionTest, AForeignOrDamagedFileFails) {
    VersionFile file = Version(9, 0, 0);
    file.Magic = "Tarno.K.V. version file";
    server_.ServeBody(file.Bytes());
    EXPECT_FALSE(check_.Check()) << "the magic text differs in case";

    file = Version(9, 0, 0);
    file.Product = "Tarno.K.V. Other";
    server_.ServeBody(file.Bytes());
    EXPECT_FALSE(check_.Check());
    EXPECT_FALSE(check_.IsUpDated());
    EXPECT_EQ(check_.ServerProductName(), "Tarno.K.V. Other") << "values read stay";

    const std::string good = Version(9, 0, 0).Bytes();
    server_.ServeBody(Patched(good, 0, LongBytes(1025)) + std::string(2000, 'x'));
    EXPECT_FALSE(check_.Check()) << "magic length 1025";
    server_.ServeBody(Patched(good, 0, LongBytes(-1)));
    EXPECT_FALSE(check_.Check()) << "negative magic length";
}

TEST_F(tkvCheckVersionTest, AFileEndingInsideTheDateFails) {
    const std::string good = Version(1, 3, 0).Bytes();
    server_.ServeBody(good.substr(0, good.size() - 5));
    EXPECT_FALSE(check_.Check());
    EXPECT_FALSE(check_.IsUpDated());
    EXPECT_EQ(check_.ServerMinor(), 3) << "the fields before the date were read";

    tkvNetRCtrl reader;
    ASSERT_TRUE(reader.OpenInternet());
    reader.SetAddress(server_.Url());
    ASSERT_TRUE(reader.OpenURL());
    std::string text;
    int32_t number = 0;
    ASSERT_TRUE(reader.GetStringChecking(1024, text) && reader.GetStringChecking(1024, text));
    ASSERT_TRUE(reader.GetLong(number) && reader.GetLong(number) && reader.GetLong(number));
    double date = 1.0;
    EXPECT_FALSE(reader.GetDate(date));
    EXPECT_TRUE(reader.IsLastData());
    EXPECT_EQ(reader.CurrentReadByte(), 3);
    EXPECT_EQ(date, 1.0);
    reader.CloseURL();
    EXPECT_FALSE(reader.IsLastData());
}

TEST_F(tkvCheckVersionTest, NetworkFailuresFail) {
    server_.AnswerNotFound();
    EXPECT_FALSE(check_.Check()) << "404";

    server_.NeverAnswer();
    EXPECT_FALSE(check_.Check()) << "a server that never answers";
    EXPECT_GE(server_.RequestCount(), 2);

    check_.SetAddress("http://127.0.0.1:" + std::to_string(ClosedLocalPort()) + "/version.txt");
    EXPECT_FALSE(check_.Check()) << "a closed port";
}

TEST_F(tkvCheckVersionTest, AnAbortFlagEndsAFetchThatWaitsForItsAnswer) {
    server_.NeverAnswer();
    std::atomic<bool> abort{false};
    std::atomic<bool> fetched{true};
    constexpr int32_t kAnHour = 3600000;  // beyond the test's own time limit: only the flag ends it
    std::thread fetch([&] {
        std::string bytes;
        fetched = tkvCheckVersion::FetchVersionFile(server_.Url(), kAnHour, kAnHour, bytes, &abort);
    });
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (server_.RequestCount() == 0 && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(server_.RequestCount(), 1) << "the request never reached the server";
    abort = true;
    fetch.join();
    EXPECT_FALSE(fetched);
}

TEST_F(tkvCheckVersionTest, AFetchAbortedBeforehandSendsNothing) {
    server_.ServeBody(Version(1, 3, 0).Bytes());
    const std::atomic<bool> abort{true};
    std::string bytes;
    EXPECT_FALSE(tkvCheckVersion::FetchVersionFile(server_.Url(), kTestTimeout, kTestTimeout, bytes,
                                                   &abort));
    EXPECT_EQ(server_.ConnectionCount(), 0);
    const std::atomic<bool> notAborted{false};
    EXPECT_TRUE(tkvCheckVersion::FetchVersionFile(server_.Url(), kTestTimeout, kTestTimeout, bytes,
                                                  &notAborted));
}

TEST_F(tkvCheckVersionTest, TheBodyIsCappedAt64KiB) {
    const std::string good = Version(1, 3, 0).Bytes();
    const auto limit = static_cast<size_t>(tkvNetRCtrl::kBodyLimit);
    server_.ServeBody(good + std::string(limit - good.size(), 'x'), false);
    EXPECT_TRUE(check_.Check()) << "exactly 64 KiB";
    server_.ServeBody(good + std::string(limit - good.size() + 1, 'x'), false);
    EXPECT_FALSE(check_.Check()) << "one byte more, without a length";
    server_.ServeBody(good + std::string(limit, 'x'), true);
    EXPECT_FALSE(check_.Check()) << "more, with a length";

    // The default limits: only the cap can end this within the test.
    check_.SetRequestTimeout(tkvNetRCtrl::kDefaultRequestTimeout);
    server_.SendEndlessBody();
    EXPECT_FALSE(check_.Check());
}

TEST_F(tkvCheckVersionTest, OnlyHttpAndHttpsAreFetchedAlsoAfterARedirect) {
    TempFolder folder;
    WriteAllBytes(folder.Path("version.txt"), Version(2, 0, 0).Bytes());
    check_.SetAddress("file://" + folder.Path("version.txt"));
    EXPECT_FALSE(check_.Check()) << "file";
    check_.SetAddress("ftp://127.0.0.1:" + std::to_string(server_.Port()) + "/version.txt");
    EXPECT_FALSE(check_.Check()) << "ftp";
    EXPECT_EQ(server_.ConnectionCount(), 0) << "refused before connecting";

    check_.SetAddress(server_.Url());
    server_.Redirect("file://" + folder.Path("version.txt"));
    EXPECT_FALSE(check_.Check()) << "a redirect to a file";

    LocalHttpServer target;
    target.ServeBody(Version(2, 0, 0).Bytes());
    server_.Redirect(target.Url("/elsewhere.txt"));
    EXPECT_TRUE(check_.Check()) << "a redirect to http";
    EXPECT_TRUE(check_.IsUpDated());
    server_.AnswerNotFound();
    EXPECT_FALSE(check_.Check());
    EXPECT_FALSE(check_.IsUpDated()) << "cleared before each check";
}

class tkvNetRCtrlTest : public ::testing::Test {
protected:
    // A reader with its own session on a request for agBody.
    void Open(tkvNetRCtrl& agReader, const std::string& agBody) {
        server_.ServeBody(agBody);
        ASSERT_TRUE(agReader.OpenInternet());
        agReader.SetAddress(server_.Url());
        ASSERT_TRUE(agReader.OpenURL());
    }

    LocalHttpServer server_;
};

std::string Bytes(std::initializer_list<int> agBytes) {
    std::string bytes;
    for (int byte : agBytes) {
        bytes += static_cast<char>(byte);
    }
    return bytes;
}

TEST_F(tkvNetRCtrlTest, TypedReadsWalkThroughTheBody) {
    std::string japanese;
    ASSERT_TRUE(tkvStringControl::ToCodePage("設定ﾌｧｲﾙ", japanese));
    const std::string body = Bytes({0xAB, 0xFF, 0xFF, 0, 0}) +
                             LongBytes(static_cast<int32_t>(japanese.size())) + japanese + "abc";
    tkvNetRCtrl reader;
    Open(reader, body);
    int32_t available = 0;
    ASSERT_TRUE(reader.DataAvailable(available));
    EXPECT_EQ(available, static_cast<int32_t>(body.size()));
    uint8_t byte = 0;
    bool yes = false;
    bool no = true;
    std::string text;
    ASSERT_TRUE(reader.GetByte(byte) && reader.GetBoolean(yes) && reader.GetBoolean(no));
    EXPECT_EQ(byte, 0xAB);
    EXPECT_TRUE(yes);
    EXPECT_FALSE(no);
    ASSERT_TRUE(reader.GetString(text));
    EXPECT_EQ(text, "設定ﾌｧｲﾙ") << "the length counts bytes";
    ASSERT_TRUE(reader.GetDataString(3, text));
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(reader.CurrentReadByte(), 3);
    EXPECT_FALSE(reader.IsLastData());
    EXPECT_FALSE(reader.GetByte(byte));
    EXPECT_TRUE(reader.IsLastData());
    EXPECT_EQ(reader.CurrentReadByte(), 0);
}

TEST_F(tkvNetRCtrlTest, ShortReadsAndRefusedLengths) {
    tkvNetRCtrl reader;
    Open(reader, LongBytes(1025) + LongBytes(10) + "abcd");
    std::string text = "kept";
    EXPECT_FALSE(reader.GetStringChecking(1024, text));
    EXPECT_EQ(text, "kept");
    int32_t available = 0;
    ASSERT_TRUE(reader.DataAvailable(available));
    EXPECT_EQ(available, 8) << "only the length was read";
    EXPECT_FALSE(reader.IsLastData());
    std::vector<uint8_t> data;
    EXPECT_FALSE(reader.GetDataByte(0, data));
    EXPECT_EQ(reader.CurrentReadByte(), 4) << "nothing read";
    EXPECT_FALSE(reader.GetDataByte(10, data));
    EXPECT_TRUE(reader.IsLastData());
    EXPECT_EQ(reader.CurrentReadByte(), 8);
    EXPECT_EQ(data.size(), 10u);
    EXPECT_EQ(data[4], 'a');
}

TEST_F(tkvNetRCtrlTest, SessionsRequestsAndAReferencedSession) {
    tkvNetRCtrl reader;
    int32_t available = 0;
    uint8_t byte = 0;
    EXPECT_FALSE(reader.OpenURL()) << "no session";
    EXPECT_FALSE(reader.DataAvailable(available));
    EXPECT_FALSE(reader.GetByte(byte));
    EXPECT_FALSE(reader.IsLastData()) << "nothing was open to run short";
    EXPECT_EQ(reader.InternetHandle(), nullptr);

    auto shared = std::make_shared<tkvNetRCtrl>();
    ASSERT_TRUE(shared->OpenInternet());
    tkvNetRCtrl borrower;
    borrower.SetInternetHandleReference(shared);
    EXPECT_FALSE(borrower.OpenInternet()) << "a referenced session is not opened here";
    server_.ServeBody("x");
    borrower.SetAddress(server_.Url());
    ASSERT_TRUE(borrower.OpenURL());
    EXPECT_NE(borrower.URLHandle(), nullptr);
    EXPECT_TRUE(borrower.GetByte(byte));
    EXPECT_TRUE(borrower.CloseURL());
    EXPECT_FALSE(borrower.CloseURL());
    EXPECT_EQ(borrower.URLHandle(), nullptr);

    EXPECT_TRUE(shared->CloseInternet());
    EXPECT_FALSE(shared->CloseInternet());
    EXPECT_FALSE(borrower.OpenURL()) << "the referenced session is closed";

    reader.SetOpenInternetFlag(5);
    EXPECT_FALSE(reader.OpenInternet()) << "an unknown access type";
    reader.SetOpenInternetFlag(tkvNetRCtrl::kDirect);
    EXPECT_TRUE(reader.OpenInternet());
}

}  // namespace
