// The hand-over line: what a later start writes for its arguments, and the
// paths the running copy takes out of it.
#include "core/hand_over_text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace dorvane {
namespace {

struct TJoinCase {
    const char* name;
    QStringList arguments;
    QString written; // empty: nothing is written
    QStringList receiverOpens;
};

TEST(HandOverText, JoinedBySenderSplitByReceiver) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString cwd = folder.path();
    ASSERT_TRUE(QDir(cwd).mkpath(QStringLiteral("sub")));
    for (const char* file : {"game.dvn", "sub/in folder.dvn"}) {
        QFile f(cwd + u'/' + QString::fromUtf8(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString game = cwd + QStringLiteral("/game.dvn");
    const QString spaced = cwd + QStringLiteral("/sub/in folder.dvn");
    const QString a4095 = u'/' + QString(4094, u'a');
    const QString a4096 = u'/' + QString(4095, u'a');

    const std::vector<TJoinCase> cases = {
        {"one argument with a blank goes unquoted, opened as one path",
         {QStringLiteral("/home/u/My Games/a.dvn")},
         QStringLiteral("/home/u/My Games/a.dvn"),
         {QStringLiteral("/home/u/My Games/a.dvn")}},
        {"two arguments, one with a blank: both arrive",
         {QStringLiteral("/x/a b.dvn"), QStringLiteral("/x/c.dvn")},
         QStringLiteral("\"/x/a b.dvn\" \"/x/c.dvn\""),
         {QStringLiteral("/x/a b.dvn"), QStringLiteral("/x/c.dvn")}},
        {"two arguments without blanks are split again too",
         {QStringLiteral("/x/a.dvn"), QStringLiteral("/x/b.mp3")},
         QStringLiteral("\"/x/a.dvn\" \"/x/b.mp3\""),
         {QStringLiteral("/x/a.dvn"), QStringLiteral("/x/b.mp3")}},
        {"a relative name of an existing file becomes a full path",
         {QStringLiteral("game.dvn")},
         game,
         {game}},
        {"a relative path with a folder, too (the running copy has a folder of its own)",
         {QStringLiteral("sub/in folder.dvn")},
         spaced,
         {spaced}},
        {"a relative name of nothing stays as it was",
         {QStringLiteral("missing.dvn")},
         QStringLiteral("missing.dvn"),
         {QStringLiteral("missing.dvn")}},
        {"an argument with a quote of its own is not quoted again",
         {QStringLiteral("/x/\"q\".dvn"), QStringLiteral("/x/c.dvn")},
         QStringLiteral("/x/\"q\".dvn \"/x/c.dvn\""),
         {QStringLiteral("/x/q.dvn"), QStringLiteral("/x/c.dvn")}},
        {"no arguments: nothing", {}, {}, {}},
        {"2 characters: nothing", {QStringLiteral("/a")}, {}, {}},
        {"4095 characters: written", {a4095}, a4095, {a4095}},
        {"4096 characters: nothing", {a4096}, {}, {}},
    };
    for (const TJoinCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = JoinCommandLine(c.arguments, cwd);
        EXPECT_EQ(text, c.written);
        EXPECT_EQ(SplitHandedText(text), c.receiverOpens);
    }
}

// However many names a start has, they reach the running copy as lines
// that each fit the block and split back into the names, in order.
TEST(HandOverText, ManyNamesGoAsSeveralLines) {
    QStringList names;
    for (int i = 0; i < 300; ++i)
        names << QStringLiteral("/home/u/Музыка/Альбом номер %1/дорожка %1.mp3").arg(i);
    const std::optional<QStringList> lines = HandOverLines(names, QStringLiteral("/"));
    ASSERT_TRUE(lines);
    EXPECT_GT(lines->size(), 1);
    QStringList arrived;
    for (const QString& line : *lines) {
        EXPECT_LE(line.size(), kHandOverMostChars);
        arrived << SplitHandedText(line);
    }
    EXPECT_EQ(arrived, names);

    // The longest name the block carries goes alone, and a name alone in its
    // line is written unquoted, as a single argument is; one longer than any
    // line is refused as a whole.
    const QString longest = u'/' + QString(4094, u'a');
    const QString beside = QStringLiteral("/x/b c.dvn");
    const std::optional<QStringList> alone = HandOverLines({beside, longest, beside}, {});
    ASSERT_TRUE(alone);
    EXPECT_EQ(*alone, (QStringList{beside, longest, beside}));
    QStringList back;
    for (const QString& line : *alone)
        back << SplitHandedText(line);
    EXPECT_EQ(back, (QStringList{beside, longest, beside}));
    EXPECT_FALSE(HandOverLines({beside, longest + u'a'}, {}));

    // Few names: the one line JoinCommandLine writes; none: no line.
    EXPECT_EQ(HandOverLines({QStringLiteral("/x/a b.dvn"), QStringLiteral("/x/c.dvn")}, {}),
              QStringList{
                  JoinCommandLine({QStringLiteral("/x/a b.dvn"), QStringLiteral("/x/c.dvn")}, {})});
    EXPECT_EQ(HandOverLines({}, {}), QStringList());
    EXPECT_EQ(HandOverLines({QStringLiteral("/a")}, {}), QStringList());
}

TEST(HandOverText, ReceiverRules) {
    const std::vector<std::pair<QString, QStringList>> cases = {
        {QStringLiteral("ab"), {}},                             // too short
        {QString(8192, u'x'), {}},                              // too long
        {QStringLiteral("/a b/c"), {QStringLiteral("/a b/c")}}, // no quote: one path
        {QStringLiteral("\"\" \"/a\"\t/b"), {QStringLiteral("/a"), QStringLiteral("/b")}},
        {QStringLiteral("  \"/a b\"c  "), {QStringLiteral("/a bc")}},       // quotes inside a path
        {QStringLiteral("\"/open quote"), {QStringLiteral("/open quote")}}, // never closed
        {QStringLiteral("\"\"\"\""), {}},                                   // only empty pairs
    };
    for (const auto& [text, paths] : cases) {
        SCOPED_TRACE(text.left(40).toStdString());
        EXPECT_EQ(SplitHandedText(text), paths);
    }
}

} // namespace
} // namespace dorvane
