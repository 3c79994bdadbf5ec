#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "KPXPieceFormat.h"
#include "KPXSepaCtrl.h"
#include "TestFiles.h"
#include "tkvFileRWCtrl.h"

namespace {

KPXDividoraData Record(const std::string& agFileName, int32_t agFileSize) {
    KPXDividoraData record;
    record.SetSepaDate(1.5);
    record.SetSpecID(0x11223344);
    record.SetTurnID(1);
    record.SetCount(3);
    record.SetFileName(agFileName);
    record.SetFileSize(agFileSize);
    return record;
}

class KPXPieceHeaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        sepaData_->SetConfirmDividoraSize(true);
        sepaCtrl_.SetSepaData(sepaData_);
    }

    // ReadHeader of agPath: 0 on success, else the one registered number.
    int32_t ReadError(const std::string& agPath, KPXDividoraData* ouRecord = nullptr) {
        KPXDividoraData record;
        record.SetFileAddress(agPath);
        const bool ok = sepaCtrl_.ReadHeader(record);
        if (ouRecord != nullptr) {
            *ouRecord = record;
        }
        const auto errors = sepaCtrl_.ErrorMng();
        if (ok) {
            EXPECT_EQ(errors->Count(), 0);
            return 0;
        }
        EXPECT_EQ(errors->Count(), 1);
        return errors->Count() == 1 ? errors->Number(0) : -1;
    }

    // A good piece of a.bin with 4 data bytes, damaged by agDamage, then read.
    int32_t ReadDamaged(const std::function<std::string(std::string)>& agDamage) {
        WriteTestPiece(folder_.Path("good"), Record("a.bin", 4), "DATA");
        WriteAllBytes(folder_.Path("bad"), agDamage(ReadAllBytes(folder_.Path("good"))));
        return ReadError(folder_.Path("bad"));
    }

    TempFolder folder_;
    std::shared_ptr<KPXSepaData> sepaData_ = std::make_shared<KPXSepaData>();
    KPXSepaCtrl sepaCtrl_;
};

constexpr size_t kFileNameOffset = 127;

TEST_F(KPXPieceHeaderTest, HeaderOfABinIsTheExact140Bytes) {
    WriteTestPiece(folder_.Path("p"), Record("a.bin", 4), "DATA");
    const std::string expectedHeader =
        LongBytes(19) + "Tarno.K.V. Dividora" + LongBytes(23) + "Tarno.K.V. Soft by R.N." +
        LongBytes(49) + "Tarno.K.V. Separated File by Dividora Application" + LongBytes(1) +
        std::string("\x00\x00\x00\x00\x00\x00\xF8\x3F", 8) + LongBytes(0x11223344) + LongBytes(1) +
        LongBytes(3) + LongBytes(5) + "a.bin" + LongBytes(4);
    ASSERT_EQ(expectedHeader.size(), 140u);
    EXPECT_EQ(ReadAllBytes(folder_.Path("p")), expectedHeader + "DATA");

    sepaData_->SetFileAddress("/data/a.bin");
    int32_t size = 0;
    ASSERT_TRUE(sepaCtrl_.GetSizeOfHeader(size));
    EXPECT_EQ(size, 140);
}

TEST_F(KPXPieceHeaderTest, DoubleByteNameCountsCharactersInThePrefixAndBytesInTheSize) {
    WriteTestPiece(folder_.Path("p"), Record("漢字", 0), "");
    const std::string bytes = ReadAllBytes(folder_.Path("p"));
    EXPECT_EQ(bytes.size(), 139u);
    EXPECT_EQ(bytes.substr(kFileNameOffset, 4), LongBytes(2));

    sepaData_->SetFileAddress("/data/漢字");
    int32_t size = 0;
    ASSERT_TRUE(sepaCtrl_.GetSizeOfHeader(size));
    EXPECT_EQ(size, 139);
}

TEST_F(KPXPieceHeaderTest, MixedNameIsReadBackWithEveryFieldAfterIt) {
    const std::string name = "表ﾃﾞｰﾀ漢字ｶﾅ.txt";
    KPXDividoraData written = Record(name, 6);
    written.SetTurnID(2);
    WriteTestPiece(folder_.Path("p"), written, "123456");
    KPXDividoraData read;
    ASSERT_EQ(ReadError(folder_.Path("p"), &read), 0);
    EXPECT_EQ(read.SepaDate(), 1.5);
    EXPECT_EQ(read.SpecID(), 0x11223344);
    EXPECT_EQ(read.TurnID(), 2);
    EXPECT_EQ(read.Count(), 3);
    EXPECT_EQ(read.FileName(), name);
    EXPECT_EQ(read.FileSize(), 6);
}

TEST_F(KPXPieceHeaderTest, AHeaderCutAtAnyOffsetIsRefused) {
    WriteTestPiece(folder_.Path("good"), Record("a.bin", 4), "DATA");
    const std::string good = ReadAllBytes(folder_.Path("good"));
    for (size_t cut = 0; cut < good.size(); ++cut) {
        WriteAllBytes(folder_.Path("cut"), good.substr(0, cut));
        const int32_t expected = cut < 107 ? 1601 : cut < 140 ? 1602 : 1603;
        EXPECT_EQ(ReadError(folder_.Path("cut")), expected) << "cut at " << cut;
    }
    EXPECT_EQ(ReadError(folder_.Path("good")), 0);
}

TEST_F(KPXPieceHeaderTest, DamagedAndForeignFilesAreRefusedWithTheirNumber) {
    EXPECT_EQ(ReadDamaged([](std::string agBytes) {
                  return Patched(agBytes, kFileNameOffset, LongBytes(300)) + std::string(300, 'a');
              }),
              1602);
    EXPECT_EQ(ReadDamaged([](std::string agBytes) { return Patched(agBytes, 103, LongBytes(2)); }),
              1601)
        << "a later format version";
    EXPECT_EQ(ReadDamaged([](std::string agBytes) { return Patched(agBytes, 0, "t"); }), 1601);
    EXPECT_EQ(ReadDamaged([](std::string agBytes) { return Patched(agBytes, 136, LongBytes(5)); }),
              1603)
        << "claims more data than the piece holds";
    EXPECT_EQ(ReadDamaged([](std::string agBytes) { return Patched(agBytes, 136, LongBytes(-1)); }),
              1603);
}

TEST_F(KPXPieceHeaderTest, WithTheSizeCheckAPieceHoldsExactlyItsDataSize) {
    const auto claimsFewer = [](std::string agBytes) {
        return Patched(agBytes, 136, LongBytes(3));
    };
    const auto trailing = [](std::string agBytes) { return agBytes + "trailing bytes"; };
    EXPECT_EQ(ReadDamaged(claimsFewer), 1603) << "a flipped FileSize would shift the file";
    EXPECT_EQ(ReadDamaged(trailing), 1603);
    sepaData_->SetConfirmDividoraSize(false);
    EXPECT_EQ(ReadDamaged(claimsFewer), 0) << "without the check the rest is ignored";
    EXPECT_EQ(ReadDamaged(trailing), 0);
}

TEST_F(KPXPieceHeaderTest, NamesThatLeaveTheDestinationFolderOrHoldControlsAreRefused) {
    for (const std::string name :
         {"../x", "a/b", "..", "a\\b", "a\x1b[2Jb", "a\nb", "a\x7f", "\t"}) {
        WriteTestPiece(folder_.Path("p"), Record(name, 0), "");
        EXPECT_EQ(ReadError(folder_.Path("p")), 1604) << name;
    }
    sepaData_->SetConfirmDividoraSize(false);
    WriteTestPiece(folder_.Path("p"), Record("", 0), "");
    EXPECT_EQ(ReadError(folder_.Path("p")), 1604) << "an empty name";
}

TEST_F(KPXPieceHeaderTest, NamesWithExtensionKanjiReadFromBytesWrittenByHand) {
    // 髙 (FB FC) and 﨑 (FA B1) lead with bytes above 0xEF; ソ (83 5C) trails with "\".
    const std::string nameBytes = "\xFB\xFC\xFA\xB1\x83\x5C.bin";
    WriteTestPiece(folder_.Path("good"), Record("x", 0), "");
    const std::string versionBlock = ReadAllBytes(folder_.Path("good")).substr(0, 107);
    const std::string date = std::string("\0\0\0\0\0\0\xF8\x3F", 8);  // 1.5
    WriteAllBytes(folder_.Path("p"), versionBlock + date + LongBytes(7) + LongBytes(0) +
                                         LongBytes(1) + LongBytes(7) + nameBytes + LongBytes(4) +
                                         "DATA");
    KPXDividoraData read;
    ASSERT_EQ(ReadError(folder_.Path("p"), &read), 0);
    EXPECT_EQ(read.FileName(), "髙﨑ソ.bin");
    EXPECT_EQ(read.SepaDate(), 1.5);
    EXPECT_EQ(read.FileSize(), 4);
}

TEST_F(KPXPieceHeaderTest, SettingsFileFoldersAndMissingFiles) {
    tkvFileRWCtrl settings;
    settings.SetFileAddress(folder_.Path("KPXUtil.dat"));
    ASSERT_TRUE(settings.OpenForBinary());
    settings.SetString("Tarno.K.V. Dividora");
    settings.SetString("Tarno.K.V. Soft by R.N.");
    settings.SetString("Tarno.K.V. File for Utility of Dividora Application");
    settings.SetLong(8);
    settings.CloseFile();
    EXPECT_EQ(ReadError(folder_.Path("KPXUtil.dat")), 1601);
    EXPECT_EQ(ReadError(folder_.Path()), 1502);
    EXPECT_EQ(ReadError(folder_.Path("missing")), 1502);
}

TEST_F(KPXPieceHeaderTest, WithoutSizeConfirmationAPieceMayLackItsData) {
    sepaData_->SetConfirmDividoraSize(false);
    WriteTestPiece(folder_.Path("p"), Record("a.bin", 1000), "DATA");
    EXPECT_EQ(ReadError(folder_.Path("p")), 0);
    sepaCtrl_.SetSepaData(nullptr);
    EXPECT_EQ(ReadError(folder_.Path("p")), 0);
}

TEST_F(KPXPieceHeaderTest, ReadOnlyPiecesAreReadAndUnopenableOnesFail) {
    WriteTestPiece(folder_.Path("p"), Record("a.bin", 4), "DATA");
    ::chmod(folder_.Path("p").c_str(), 0444);
    EXPECT_EQ(ReadError(folder_.Path("p")), 0);
    {
        // No descriptor left: the piece exists but cannot be opened.
        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        const rlimit saved = limit;
        limit.rlim_cur = 3;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        const int32_t error = ReadError(folder_.Path("p"));
        ::setrlimit(RLIMIT_NOFILE, &saved);
        EXPECT_EQ(error, 1501);
    }
    if (!RunningAsRoot()) {  // root reads files whatever their permissions
        ::chmod(folder_.Path("p").c_str(), 0);
        EXPECT_EQ(ReadError(folder_.Path("p")), 1501);
    }
}

TEST_F(KPXPieceHeaderTest, HeaderSizeNeedsASourceWhoseNameTheHeaderCanCarry) {
    KPXSepaCtrl bare;
    int32_t size = -1;
    EXPECT_FALSE(bare.GetSizeOfHeader(size));
    EXPECT_EQ(bare.ErrorMng()->Number(0), 2001);
    for (const std::string name : {"/data/a😀.bin", "/data/¥100.txt", "/data/〜.txt"}) {
        sepaData_->SetFileAddress(name);
        EXPECT_FALSE(sepaCtrl_.GetSizeOfHeader(size)) << name;
        EXPECT_EQ(sepaCtrl_.ErrorMng()->Number(0), 2002) << name;
        EXPECT_EQ(sepaCtrl_.ErrorMng()->Description(2002),
                  "分割元ﾌｧｲﾙ名にﾍｯﾀﾞへ書き込めない文字が含まれています。");
    }
    EXPECT_EQ(size, -1);
    sepaData_->SetFileAddress("/data/");
    ASSERT_TRUE(sepaCtrl_.GetSizeOfHeader(size));
    EXPECT_EQ(size, KPXPieceFormat::kHeaderSizeWithoutName);
}

TEST_F(KPXPieceHeaderTest, AFullDiskWhileWritingTheHeaderIs1201WithTheSystemsText) {
    tkvFileRWCtrl file;
    file.SetFileAddress(folder_.Path("p"));
    ASSERT_TRUE(file.OpenForBinaryClearing());
    ScopedFileSizeLimit limit(100);
    EXPECT_FALSE(sepaCtrl_.WriteHeader(file, Record("a.bin", 4)));
    const auto errors = sepaCtrl_.ErrorMng();
    ASSERT_EQ(errors->Count(), 1);
    EXPECT_EQ(errors->Number(0), 1201);
    const std::string text = errors->Description(1201);
    EXPECT_EQ(text.rfind("ﾍｯﾀﾞの書き込みに失敗しました。 ", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string("ﾍｯﾀﾞの書き込みに失敗しました。 ").size());
}

TEST_F(KPXPieceHeaderTest, EveryReadStartsWithAFreshRegistryAndUnknownNumbersHaveTheDefault) {
    EXPECT_EQ(ReadError(folder_.Path("missing")), 1502);
    const auto failed = sepaCtrl_.ErrorMng();
    WriteTestPiece(folder_.Path("p"), Record("a.bin", 0), "");
    EXPECT_EQ(ReadError(folder_.Path("p")), 0);
    EXPECT_NE(sepaCtrl_.ErrorMng(), failed);
    EXPECT_EQ(failed->Count(), 1) << "the old registry is kept by whoever holds it";
    EXPECT_EQ(failed->Description(4242), "該当するｴﾗｰ番号が存在しません。");
}

}  // namespace
