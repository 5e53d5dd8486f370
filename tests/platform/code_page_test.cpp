#include "platform/code_page.h"

#include <gtest/gtest.h>

using platform::DecodeStoredText;
using platform::EncodeStoredText;

TEST(CodePage, JapaneseTextRoundTripsThroughCp932) {
    const QString text = QStringLiteral("C:\\写真\\ﾃｽﾄ①～");
    const QByteArray bytes = EncodeStoredText(text);
    // Double-byte characters take two bytes, half-width katakana one.
    EXPECT_EQ(bytes.size(), 3 + 4 + 1 + 3 + 2 + 2);
    EXPECT_EQ(DecodeStoredText(bytes), text);
}

TEST(CodePage, WindowsOnlyMappingsMatchWindows) {
    // The wave dash and circled digits are where CP932 and plain Shift_JIS differ.
    EXPECT_EQ(EncodeStoredText(QStringLiteral("～")), QByteArray("\x81\x60"));
    EXPECT_EQ(EncodeStoredText(QStringLiteral("①")), QByteArray("\x87\x40"));
}

TEST(CodePage, TextWithoutMappingIsWrittenAsUtf8BehindAByteOrderMark) {
    for (const QString& text : {QStringLiteral("Café 写真"), QStringLiteral("C:\\Café"),
                                QStringLiteral("C:\\ﾃｽ é"), QStringLiteral("Ñandú")}) {
        EXPECT_FALSE(platform::ToCp932(text).has_value());
        const QByteArray bytes = EncodeStoredText(text);
        EXPECT_EQ(bytes, QByteArray("\xEF\xBB\xBF") + text.toUtf8());
        bool damaged = true;
        EXPECT_EQ(DecodeStoredText(bytes, &damaged), text);
        EXPECT_FALSE(damaged);
    }
}

// "縺Ａ" in code page 932 is E3 81 82 60, which is also "あ`" in UTF-8: a
// text whose code page bytes would be read back as UTF-8 is written marked.
TEST(CodePage, Cp932BytesThatWouldReadAsUtf8AreWrittenAsMarkedUtf8) {
    const QString text = QStringLiteral("C:\\縺Ａ");
    ASSERT_EQ(platform::ToCp932(text), QByteArray("C:\\\xE3\x81\x82\x60"));
    const QByteArray bytes = EncodeStoredText(text);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(DecodeStoredText(bytes), text);
    // Everyday Japanese keeps its code page bytes.
    EXPECT_EQ(EncodeStoredText(QStringLiteral("写真")), platform::ToCp932(QStringLiteral("写真")));
}

TEST(CodePage, UndecodableBytesAreMarkedNotDropped) {
    bool damaged = false;
    const QString text = DecodeStoredText(QByteArray("ab\xA0\xFF"
                                                     "cd"),
                                          &damaged);
    EXPECT_TRUE(damaged);
    EXPECT_TRUE(text.startsWith(QStringLiteral("ab")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("cd")));
    EXPECT_TRUE(text.contains(QChar(0xFFFD)));
}

TEST(CodePage, ByteLengthCountsDoubleByteCharactersTwice) {
    EXPECT_EQ(platform::Cp932ByteLength(QStringLiteral("AB写真")), 6);
    EXPECT_EQ(platform::Cp932ByteLength(QStringLiteral("é")), 2);
}

namespace {

// The characters of code page 932 bytes, as Windows decodes them.
QString Cp932(const QByteArray& bytes) {
    QString text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        // Half-width katakana: 0xA1..0xDF are U+FF61..U+FF9F.
        text += byte >= 0xA1 && byte <= 0xDF ? QChar(0xFF61 + byte - 0xA1) : QChar(byte);
    }
    return text;
}

}  // namespace

// Many of these pairs are also valid two-byte UTF-8 (ﾃｽ is C3 BD, "ý").
TEST(CodePage, EveryHalfWidthKatakanaPairReadsAsCp932) {
    int failures = 0;
    for (int first = 0xA1; first <= 0xDF; ++first) {
        for (int second = 0xA1; second <= 0xDF; ++second) {
            QByteArray bytes("C:\\");
            bytes += static_cast<char>(first);
            bytes += static_cast<char>(second);
            bool damaged = true;
            const QString text = DecodeStoredText(bytes, &damaged);
            if (text != Cp932(bytes) || damaged) ++failures;
            if (EncodeStoredText(text) != bytes) ++failures;
        }
    }
    EXPECT_EQ(failures, 0);
}

// Folder names as Japanese users name them, written by the Windows programs.
TEST(CodePage, JapaneseFolderNamesInCp932ReadBackUnchanged) {
    const char* const names[] = {
        "写真",
        "デジカメ写真",
        "ﾃﾞｼﾞｶﾒ",
        "ドキュメント",
        "マイ ドキュメント",
        "仕事",
        "家計簿",
        "年賀状２０２４",
        "確定申告",
        "子供の写真",
        "旅行・北海道",
        "音楽",
        "ﾐｭｰｼﾞｯｸ",
        "会議資料",
        "見積書",
        "請求書",
        "履歴書",
        "住所録",
        "卒業アルバム",
        "運動会",
        "お気に入り",
        "ダウンロード",
        "デスクトップ",
        "新しいフォルダー",
        "新規フォルダ",
        "作業用",
        "バックアップ",
        "ﾊﾞｯｸｱｯﾌﾟ",
        "設計図面",
        "議事録",
        "鬱蒼",
        "蘆屋の記録",
        "瀧澤家",
        "髙橋さん",
        "﨑田",
        "ソフトウェア",
        "表計算",
        "ｱﾙﾊﾞﾑ",
        "取引先一覧",
        "①資料",
        "Ⅱ期",
        "売上～集計",
        "明細（月別）",
        "ｶﾒﾗ・ﾋﾞﾃﾞｵ",
        "動画",
        "犬と猫",
        "畑の記録",
        "餅つき",
        "俳句・短歌",
        "箏曲",
        "囲碁棋譜",
        "茶道",
        "鰻屋",
        "麺類",
        "齋藤",
        "邊見",
        "凜",
        "薔薇園",
        "醤油",
        "櫻井",
    };
    for (const char* name : names) {
        const QString text =
            QStringLiteral("C:\\") + QString::fromUtf8(name) + QStringLiteral("\\ﾃｽﾄ");
        const std::optional<QByteArray> bytes = platform::ToCp932(text);
        ASSERT_TRUE(bytes.has_value()) << name;
        EXPECT_EQ(EncodeStoredText(text), *bytes) << name;
        bool damaged = true;
        EXPECT_EQ(DecodeStoredText(*bytes, &damaged), text) << name;
        EXPECT_FALSE(damaged) << name;
    }
}

TEST(CodePage, HandWrittenUtf8WithoutMarkIsReadAsUtf8) {
    // Japanese typed in a Linux editor: three-byte characters.
    for (const char* text :
         {"C:\\写真", "[Options]\r\nCatalogName=C:\\データ\\Kibako.Def\r\n", "ﾃｽﾄ", "絵文字 😀"}) {
        bool damaged = true;
        EXPECT_EQ(DecodeStoredText(QByteArray(text), &damaged), QString::fromUtf8(text));
        EXPECT_FALSE(damaged);
    }
    // Plain ASCII is the same either way.
    EXPECT_EQ(DecodeStoredText("C:\\Data"), QStringLiteral("C:\\Data"));
}

TEST(CodePage, ValidUtf8ThatCp932CannotDecodeStaysUtf8) {
    // 0x80 and 0xA0 are not characters in code page 932.
    bool damaged = true;
    EXPECT_EQ(DecodeStoredText(QByteArray("C:\\\xC2\x80\xC2\xA0"), &damaged),
              QStringLiteral("C:\\") + QChar(0x80) + QChar(0xA0));
    EXPECT_FALSE(damaged);
}

TEST(CodePage, BytesBehindTheMarkThatAreNotUtf8AreReadWithoutIt) {
    EXPECT_EQ(DecodeStoredText(QByteArray("\xEF\xBB\xBF\x8E\xCA\x90\x5E")), QStringLiteral("写真"));
    bool damaged = false;
    const QString text = DecodeStoredText(QByteArray("\xEF\xBB\xBF"
                                                     "ab\xFF"
                                                     "cd"),
                                          &damaged);
    EXPECT_TRUE(damaged);
    EXPECT_EQ(text, QStringLiteral("ab") + QChar(0xFFFD) + QStringLiteral("cd"));
}

TEST(CodePage, OverlongAndSurrogateFormsAreNotUtf8) {
    // C0 AF is an overlong "/", ED A0 80 a surrogate: neither is UTF-8, and
    // both decode as code page 932 (with damage where the bytes mean nothing).
    const QString text = DecodeStoredText(QByteArray("\xED\xA0\x80"));
    EXPECT_NE(text, QString::fromUtf8("\xED\xA0\x80"));
    EXPECT_EQ(DecodeStoredText(QByteArray("\xC0\xAF")).size(), 2);
}
