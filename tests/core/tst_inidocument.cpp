#include "core/inidocument.h"

#include <QtTest>

using namespace calvenor;

// How the parser reads files, pinned to what the Windows profile functions do, and how
// edits change the text: lines nobody touched keep their bytes.
class TestIniDocument : public QObject
{
    Q_OBJECT
private slots:
    void readsValuesAsTheProfileFunctionsDo_data();
    void readsValuesAsTheProfileFunctionsDo();
    void listsSectionsAndEntries();
    void unchangedFileSerialisesToTheSameBytes_data();
    void unchangedFileSerialisesToTheSameBytes();
    void edits_data();
    void edits();
    void deletingASectionRemovesEveryCopyButKeepsComments();
    void rewritingASectionKeepsItsPlace_data();
    void rewritingASectionKeepsItsPlace();
    void namesALineCannotHoldAreRefused();
    void utf16BigEndianRoundTrip();
    void codePageBytesOnEveryPath_data();
    void codePageBytesOnEveryPath();
    void firstDuplicateWinsAfterManyLookups();
    void newLinesUseTheFileLineEnd();
};

// A byte string literal with its NULs, without the terminating one.
template<size_t N>
static QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

static IniDocument parse(const char *text)
{
    return IniDocument::parse(QByteArray(text), AnsiCodePage::get(1252));
}

void TestIniDocument::readsValuesAsTheProfileFunctionsDo_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");   // "<absent>" when not found

    const QString absent = QStringLiteral("<absent>");
    QTest::newRow("blanks around value") << QByteArray("[S]\r\nk=  word  \r\n") << "S" << "k" << "word";
    QTest::newRow("tab and vertical tab around value") << QByteArray("[S]\nk=\t\vword\t\n") << "S" << "k" << "word";
    QTest::newRow("blanks around key") << QByteArray("[S]\n \t k  =v\n") << "S" << "k" << "v";
    QTest::newRow("case of section and key") << QByteArray("[LeftHistory]\nKEY=v\n") << "lefthistory" << "key" << "v";
    QTest::newRow("double quotes removed") << QByteArray("[S]\nk=\"  v  \"\n") << "S" << "k" << "  v  ";
    QTest::newRow("single quotes removed") << QByteArray("[S]\nk='v'\n") << "S" << "k" << "v";
    QTest::newRow("quotes trimmed before removal") << QByteArray("[S]\nk=  \" v \"  \n") << "S" << "k" << " v ";
    QTest::newRow("only the outer pair") << QByteArray("[S]\nk=\"'v'\"\n") << "S" << "k" << "'v'";
    QTest::newRow("mismatched quotes stay") << QByteArray("[S]\nk=\"v'\n") << "S" << "k" << "\"v'";
    QTest::newRow("lone quote stays") << QByteArray("[S]\nk=\"\n") << "S" << "k" << "\"";
    QTest::newRow("value that begins with a quote") << QByteArray("[S]\nk=\"\"abc\"\n") << "S" << "k" << "\"abc";
    QTest::newRow("empty value") << QByteArray("[S]\nk=\n") << "S" << "k" << "";
    QTest::newRow("second equals belongs to value") << QByteArray("[S]\n2=a=b\n") << "S" << "2" << "a=b";
    QTest::newRow("semicolon inside value kept") << QByteArray("[S]\nk=a ;b\n") << "S" << "k" << "a ;b";
    QTest::newRow("first duplicate key wins") << QByteArray("[S]\nk=1\nk=2\n") << "S" << "k" << "1";
    QTest::newRow("only the first duplicate section") << QByteArray("[S]\na=1\n[S]\nk=2\n") << "S" << "k" << absent;
    QTest::newRow("header with blanks inside") << QByteArray("[ S ]\nk=v\n") << "S" << "k" << "v";
    QTest::newRow("header with trailing blank") << QByteArray("[LeftHistory] \nk=v\n") << "LeftHistory" << "k" << "v";
    QTest::newRow("indented header") << QByteArray("  [S]\nk=v\n") << "S" << "k" << "v";
    QTest::newRow("line without closing bracket is no header") << QByteArray("[S]\n[T   \nk=v\n") << "S" << "k" << "v";
    QTest::newRow("bracket line without bracket is a key") << QByteArray("[S]\n[k=v\n") << "S" << "[k" << "v";
    QTest::newRow("name runs to the last bracket") << QByteArray("[a]b]\nk=v\n") << "a]b" << "k" << "v";
    QTest::newRow("text after the last bracket ignored") << QByteArray("[sec] whoops\nk=v\n") << "sec" << "k" << "v";
    QTest::newRow("blanks inside the brackets") << QByteArray("[\t S \f]\nk=v\n") << "S" << "k" << "v";
    QTest::newRow("stray bracket line does not end the section") << QByteArray("[S]\n]\nk=v\n") << "S" << "k" << "v";
    QTest::newRow("no key on the header line") << QByteArray("[S]k=v\n") << "S" << "k" << absent;
    QTest::newRow("comment line is read by name") << QByteArray("[S]\n;k=v\n") << "S" << ";k" << "v";
    QTest::newRow("indented comment read by name") << QByteArray("[S]\n \t;k=v\n") << "S" << ";k" << "v";
    QTest::newRow("line without equals hides a later key") << QByteArray("[S]\nk\nk=v\n") << "S" << "k" << absent;
    QTest::newRow("form feed and Ctrl+Z are blanks") << QByteArray("[S]\n\fk\x0c=\x1av\x1a\x1a\n\x1a") << "S" << "k" << "v";
    QTest::newRow("case of ASCII letters only") << QByteArray("[S]\n\xc4pfel=1\n") << "S" << "\u00e4pfel" << absent;
    QTest::newRow("ASCII case ignored beside others") << QByteArray("[S]\n\xc4PFEL=1\n") << "S" << "\u00c4pfel" << "1";
    QTest::newRow("hash is no comment") << QByteArray("[S]\n#k=v\n") << "S" << "#k" << "v";
    QTest::newRow("keys before any section unreadable") << QByteArray("k=v\n[S]\n") << "" << "k" << absent;
    QTest::newRow("empty section name") << QByteArray("[]\nk=v\n") << "" << "k" << "v";
    QTest::newRow("missing final newline") << QByteArray("[S]\nk=v") << "S" << "k" << "v";
    QTest::newRow("bare CR line ends") << QByteArray("[S]\rk=v\rm=w") << "S" << "m" << "w";
    QTest::newRow("mixed line ends") << QByteArray("[S]\r\na=1\nb=2\rc=3\r\n") << "S" << "c" << "3";
    QTest::newRow("absent key") << QByteArray("[S]\nk=v\n") << "S" << "x" << absent;
    QTest::newRow("absent section") << QByteArray("[S]\nk=v\n") << "T" << "k" << absent;
    QTest::newRow("NUL ends a value") << bytes("[S]\nk=a\0b\n") << "S" << "k" << "a";
    QTest::newRow("NUL ends a name") << bytes("[S]\nk\0x=v\n") << "S" << "k" << "v";
    QTest::newRow("NUL ends a section name") << bytes("[S\0T]\nk=v\n") << "S" << "k" << "v";
}

void TestIniDocument::readsValuesAsTheProfileFunctionsDo()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const IniDocument doc = IniDocument::parse(file, AnsiCodePage::get(1252));
    QCOMPARE(doc.value(section, key).value_or(QStringLiteral("<absent>")), expected);
}

void TestIniDocument::listsSectionsAndEntries()
{
    const IniDocument doc = parse("pre=1\n[A]\n; note\n  0 = x \n\nline without equals\n\"q\"=\"v\"\n[B]\n[ ]\n[A]\nz=1\n");
    QCOMPARE(doc.sectionNames(), QStringList({"A", "B", "A"}));   // a section without a name is not listed
    const std::vector<IniEntry> entries = doc.entries(u"a");
    QCOMPARE(entries.size(), size_t(3));
    QCOMPARE(entries[0].key, QStringLiteral("0"));
    QCOMPARE(entries[0].stored, QStringLiteral("x"));
    QVERIFY(entries[0].hasEquals);
    QCOMPARE(entries[1].key, QStringLiteral("line without equals"));
    QVERIFY(!entries[1].hasEquals);
    QCOMPARE(entries[2].key, QStringLiteral("\"q\""));
    QCOMPARE(entries[2].stored, QStringLiteral("\"v\""));
    QVERIFY(doc.entries(u"B").empty());
    QVERIFY(doc.entries(u"missing").empty());
}

void TestIniDocument::unchangedFileSerialisesToTheSameBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("crlf") << QByteArray("[S]\r\n0=a\r\n");
    QTest::newRow("lf without final newline") << QByteArray("[S]\n0=a");
    QTest::newRow("mixed and bare cr") << QByteArray("\r\n[S]\r0=a\n\n1=b\r\n;c\r");
    QTest::newRow("spacing kept") << QByteArray("[S] \r\n  Key = Value  \r\n");
    QTest::newRow("ansi high bytes and undefined ones") << QByteArray("[S]\r\n0=\x81\x8d\x8f\x90\x9d\xe4\xff\r\n");
    QTest::newRow("utf8 marked value") << QByteArray("[S]\r\n0=\xef\xbb\xbf\xe4\xb8\xad\r\n");
    QTest::newRow("utf8 bom with invalid bytes") << QByteArray("\xef\xbb\xbf[S]\n0=\xc3\xa4 \xff\xc0\x80 \xed\xa0\x80\n");
    QTest::newRow("utf16 bom") << bytes("\xff\xfe[\0S\0]\0\r\0\n\0" "0\0=\0\x2d\x4e\r\0\n\0");
    QTest::newRow("utf16 odd byte") << bytes("\xff\xfe[\0S\0]\0!");
    QTest::newRow("nul bytes") << bytes("[S]\n0=\0\0x\n\0");
    QTest::newRow("binary garbage") << bytes("\x00\x01\xfe[\xff]\r\r\n=\n[");
}

void TestIniDocument::unchangedFileSerialisesToTheSameBytes()
{
    QFETCH(QByteArray, bytes);
    QCOMPARE(IniDocument::parse(bytes, AnsiCodePage::get(1252)).serialize(), bytes);
}

void TestIniDocument::edits_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");   // empty key: delete the section; "<delete>": delete the key
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("replace in place, spelling of the key kept")
        << QByteArray("[A]\r\nKey = old\r\nnext=1\r\n") << "A" << "key" << "new"
        << QByteArray("[A]\r\nKey=new\r\nnext=1\r\n");
    QTest::newRow("replace the first of duplicate keys")
        << QByteArray("[A]\nk=1\nk=2\n") << "A" << "K" << "9" << QByteArray("[A]\nk=9\nk=2\n");
    QTest::newRow("new key after the last key, before blank and comment lines")
        << QByteArray("[A]\na=1\n\n; about B\n[B]\nb=1\n") << "A" << "n" << "v"
        << QByteArray("[A]\na=1\nn=v\n\n; about B\n[B]\nb=1\n");
    QTest::newRow("new key in a section holding only comments goes after the header")
        << QByteArray("[A]\n;c\n") << "A" << "n" << "v" << QByteArray("[A]\nn=v\n;c\n");
    QTest::newRow("new section at the end, missing final newline kept")
        << QByteArray("[A]\na=1") << "B" << "k" << "v" << QByteArray("[A]\na=1\n[B]\nk=v");
    QTest::newRow("new section in an empty file")
        << QByteArray() << "S" << "k" << "v" << QByteArray("[S]\r\nk=v\r\n");
    QTest::newRow("replacing the last line without newline")
        << QByteArray("[A]\r\na=1") << "A" << "a" << "2" << QByteArray("[A]\r\na=2");
    QTest::newRow("delete key with duplicates")
        << QByteArray("[A]\na=1\nb=2\nA=3\n") << "A" << "a" << "<delete>" << QByteArray("[A]\nb=2\n");
    QTest::newRow("delete the last section of a file without final newline")
        << QByteArray("[A]\na=1\n[B]\nb=1") << "B" << "" << "" << QByteArray("[A]\na=1");
    QTest::newRow("delete a missing key changes nothing")
        << QByteArray("[A]\na=1\n") << "A" << "x" << "<delete>" << QByteArray("[A]\na=1\n");
    QTest::newRow("the same value again leaves the line alone")
        << QByteArray("[A]\n  path = C:\\ \n") << "A" << "PATH" << "C:\\" << QByteArray("[A]\n  path = C:\\ \n");
    QTest::newRow("a value that reads the same in another quoting keeps its line")
        << QByteArray("[A]\nk='v w'\nm=\"x\"\n") << "A" << "m" << "x" << QByteArray("[A]\nk='v w'\nm=\"x\"\n");
    QTest::newRow("a line without equals takes the value where it stands")
        << QByteArray("[A]\nk\nz=1\n") << "A" << "k" << "v" << QByteArray("[A]\nk=v\nz=1\n");
    QTest::newRow("a commented key is written where it stands")
        << QByteArray("[A]\n;k=1\nz=1\n") << "A" << ";k" << "2" << QByteArray("[A]\n;k=2\nz=1\n");
    // Encoded surrogates among them: a lone one of either half, and a pair that must not
    // turn into the four bytes of one character.
    QTest::newRow("bytes that are not UTF-8 survive beside an edit")
        << QByteArray("\xef\xbb\xbf[S]\n0=\xed\xa0\x80 \xc0 \xed\xb3\xbf \xed\xa0\xbd\xed\xb2\xa9\n1=a\n") << "S" << "1" << "b"
        << QByteArray("\xef\xbb\xbf[S]\n0=\xed\xa0\x80 \xc0 \xed\xb3\xbf \xed\xa0\xbd\xed\xb2\xa9\n1=b\n");
    QTest::newRow("an edited line keeps its own line end")
        << QByteArray("[A]\r\na=1\nb=2\r\n") << "A" << "a" << "3" << QByteArray("[A]\r\na=3\nb=2\r\n");
    QTest::newRow("other sections keep their bytes")
        << QByteArray("[X] \r\n  k = v \r\n[A]\na=1\n[Y]\r\ny=1") << "A" << "" << ""
        << QByteArray("[X] \r\n  k = v \r\n[Y]\r\ny=1");
}

void TestIniDocument::edits()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QByteArray, after);
    IniDocument doc = IniDocument::parse(before, AnsiCodePage::get(1252));
    if (key.isEmpty())
        doc.deleteSection(section);
    else if (stored == u"<delete>")
        doc.deleteKey(section, key);
    else
        doc.setStoredValue(section, key, stored);
    QCOMPARE(doc.serialize(), after);
}

void TestIniDocument::deletingASectionRemovesEveryCopyButKeepsComments()
{
    IniDocument doc = parse("[S]\n0=a\n; kept\n[T]\nt=1\n[s]\n1=b\n");
    doc.deleteSection(u"S");
    QCOMPARE(doc.serialize(), QByteArray("; kept\n[T]\nt=1\n"));
    QVERIFY(!doc.hasSection(u"S"));
    // Written again, the section goes back to where its first copy stood.
    doc.setStoredValue(u"S", u"0", u"new");
    QCOMPARE(doc.serialize(), QByteArray("; kept\n[S]\n0=new\n[T]\nt=1\n"));
    QCOMPARE(doc.value(u"S", u"0").value_or(QString()), QStringLiteral("new"));
    doc.setStoredValue(u"T", u"u", u"2");
    QCOMPARE(doc.serialize(), QByteArray("; kept\n[S]\n0=new\n[T]\nt=1\nu=2\n"));
    QCOMPARE(doc.outline(), IniDocument::parse(doc.serialize(), AnsiCodePage::get(1252)).outline());
}

void TestIniDocument::rewritingASectionKeepsItsPlace_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("entries");   // key=stored
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("in place, lines that say the same keep their bytes")
        << QByteArray("[X]\nx=1\n[A]\n; note\n  0 = a \n1=b\n\n[Y]\n") << QStringList({"0=a", "1=c", "2=d"})
        << QByteArray("[X]\nx=1\n[A]\n; note\n  0 = a \n1=c\n2=d\n\n[Y]\n");
    QTest::newRow("fewer entries drop the rest")
        << QByteArray("[A]\r\n0=a\r\n1=b\r\n2=c\r\n[B]\r\n") << QStringList({"0=z"})
        << QByteArray("[A]\r\n0=z\r\n[B]\r\n");
    QTest::newRow("line ends of the replaced lines kept")
        << QByteArray("[A]\r\n0=a\n1=b\r\n") << QStringList({"0=x", "1=y"}) << QByteArray("[A]\r\n0=x\n1=y\r\n");
    QTest::newRow("the kept redirection stays where it stood")
        << QByteArray("[A]\n0=a\nRedirectSection=0\n1=b\n") << QStringList({"0=x", "1=y", "2=z"})
        << QByteArray("[A]\n0=x\nRedirectSection=0\n1=y\n2=z\n");
    QTest::newRow("emptied, the kept redirection keeps the header")
        << QByteArray("[A]\nredirectsection=0\n0=a\n") << QStringList() << QByteArray("[A]\nredirectsection=0\n");
    QTest::newRow("later copies go")
        << QByteArray("[A]\n0=a\n[B]\nb=1\n[a]\n0=b\n") << QStringList({"0=c"}) << QByteArray("[A]\n0=c\n[B]\nb=1\n");
    QTest::newRow("an absent section goes to the end")
        << QByteArray("[B]\nb=1\n") << QStringList({"0=c"}) << QByteArray("[B]\nb=1\n[A]\n0=c\n");
    QTest::newRow("a key that comes again updates its first line")
        << QByteArray() << QStringList({"k=1", "j=0", "K=2"}) << QByteArray("[A]\r\nk=2\r\nj=0\r\n");
    QTest::newRow("unchanged lines keep their bytes in any order and spelling, a changed one its spelling")
        << QByteArray("[A]\nactivetab=1\nactivelocked=0\nactivecaption=Downloads\n")
        << QStringList({"ActiveTab=1", "ActiveCaption=Downloads", "ActiveLocked=1"})
        << QByteArray("[A]\nactivetab=1\nactivelocked=1\nactivecaption=Downloads\n");
    QTest::newRow("emptied without a kept line, comments stay")
        << QByteArray("[B]\nb=1\n[A]\n;c=1\n0=a\n[C]\n") << QStringList() << QByteArray("[B]\nb=1\n;c=1\n[C]\n");
}

void TestIniDocument::rewritingASectionKeepsItsPlace()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, after);
    IniDocument doc = IniDocument::parse(before, AnsiCodePage::get(1252));
    std::vector<IniDocument::StoredEntry> stored;
    for (const QString &entry : std::as_const(entries))
        stored.push_back({entry.section(u'=', 0, 0), entry.section(u'=', 1)});
    QCOMPARE(doc.replaceSection(u"A", stored, u"RedirectSection"), before != after);
    QCOMPARE(doc.isModified(), before != after);
    QCOMPARE(doc.serialize(), after);
    // The document in memory reads as its bytes do.
    QCOMPARE(doc.outline(), IniDocument::parse(after, AnsiCodePage::get(1252)).outline());
    // The same entries once more change nothing.
    doc.clearModified();
    QVERIFY(!doc.replaceSection(u"A", stored, u"RedirectSection"));
    QVERIFY(!doc.isModified());
}

void TestIniDocument::namesALineCannotHoldAreRefused()
{
    // Each would be written as a line that reads back as something else: a key cut at
    // its '=', a header.
    IniDocument doc = parse("[A]\na=1\n");
    QVERIFY(!doc.setStoredValue(u"A", u"b=c", u"1"));
    QVERIFY(!doc.setStoredValue(u"A", u"[x", u"y]"));
    QVERIFY(!doc.replaceSection(u"A", {{QStringLiteral("ok"), QStringLiteral("1")}, {QStringLiteral("x=y"), QStringLiteral("2")}}));
    QCOMPARE(doc.serialize(), QByteArray("[A]\na=1\n"));
    QVERIFY(!doc.isModified());
    // What the line grammar can hold goes through, odd as it is.
    QVERIFY(doc.setStoredValue(u"A", u";note", u"1"));
    QVERIFY(doc.setStoredValue(u"A", u"[x", u"y"));
    QVERIFY(doc.setStoredValue(u"b]c", u"k", u"1"));
    QCOMPARE(doc.outline(), IniDocument::parse(doc.serialize(), AnsiCodePage::get(1252)).outline());
    QCOMPARE(doc.value(u"A", u";note").value_or(QString()), QStringLiteral("1"));
    QCOMPARE(doc.value(u"b]c", u"k").value_or(QString()), QStringLiteral("1"));
}

void TestIniDocument::utf16BigEndianRoundTrip()
{
    const QByteArray file = bytes("\xfe\xff\0[\0S\0]\0\r\0\n\0k\0=\x4e\x2d\0\r\0\n");
    IniDocument doc = IniDocument::parse(file, AnsiCodePage::get(1252));
    QCOMPARE(doc.value(u"S", u"k").value_or(QString()), QStringLiteral("\u4e2d"));
    QCOMPARE(doc.serialize(), file);
    doc.setStoredValue(u"S", u"n", u"\u00e4");
    QCOMPARE(doc.serialize(), file + bytes("\0n\0=\0\xe4\0\r\0\n"));
}

void TestIniDocument::codePageBytesOnEveryPath_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("character");   // one whose byte is 0xE0 there, unlike Latin-1
    QTest::newRow("Baltic") << 1257 << QStringLiteral("\u0105");
    QTest::newRow("Hebrew") << 1255 << QStringLiteral("\u05d0");
    QTest::newRow("Cyrillic") << 1251 << QStringLiteral("\u0430");
}

void TestIniDocument::codePageBytesOnEveryPath()
{
    QFETCH(int, codePage);
    QFETCH(QString, character);
    const AnsiCodePage &page = AnsiCodePage::get(codePage);
    IniDocument doc = IniDocument::parse("[S]\r\nold=\xe0\r\n", page);
    QCOMPARE(doc.value(u"S", u"old").value_or(QString()), character);
    // A changed key, a new key, a new section and a rewritten section: each writes the
    // code page's byte, and a character the code page lacks goes in the marked form.
    doc.setStoredValue(u"S", u"old", doc.storedFormOf(character + character));
    doc.setStoredValue(u"S", character, doc.storedFormOf(QStringLiteral("\u4e2d")));
    doc.setStoredValue(character, u"k", doc.storedFormOf(character));
    doc.replaceSection(QString(u"T" + character), {{character, doc.storedFormOf(character)}});
    QCOMPARE(doc.serialize(), QByteArray("[S]\r\nold=\xe0\xe0\r\n\xe0=\xef\xbb\xbf\xe4\xb8\xad\r\n"
                                         "[\xe0]\r\nk=\xe0\r\n[T\xe0]\r\n\xe0=\xe0\r\n"));
    const IniDocument reread = IniDocument::parse(doc.serialize(), page);
    QCOMPARE(reread.value(u"S", character).value_or(QString()), QStringLiteral("\u4e2d"));
    QCOMPARE(reread.value(QString(u"T" + character), character).value_or(QString()), character);
}

void TestIniDocument::firstDuplicateWinsAfterManyLookups()
{
    // Lookups beyond the first few go through an index; it must keep the reading rule.
    IniDocument doc = parse("[S]\nk=1\nother=0\nK=2\n[S]\nk=3\n");
    for (int i = 0; i < 20; ++i)
        QCOMPARE(doc.value(u"S", u"k").value_or(QString()), QStringLiteral("1"));
    doc.setStoredValue(u"S", u"new", u"x");   // a line inserted ahead of nothing indexed
    QCOMPARE(doc.value(u"S", u"K").value_or(QString()), QStringLiteral("1"));
    doc.setStoredValue(u"S", u"k", u"9");
    QCOMPARE(doc.serialize(), QByteArray("[S]\nk=9\nother=0\nK=2\nnew=x\n[S]\nk=3\n"));
    doc.deleteKey(u"S", u"other");
    QCOMPARE(doc.value(u"S", u"k").value_or(QString()), QStringLiteral("9"));
}

void TestIniDocument::newLinesUseTheFileLineEnd()
{
    IniDocument lf = parse("[A]\na=1\n");
    lf.setStoredValue(u"A", u"b", u"2");
    lf.setStoredValue(u"C", u"c", u"3");
    QCOMPARE(lf.serialize(), QByteArray("[A]\na=1\nb=2\n[C]\nc=3\n"));

    IniDocument utf16 = IniDocument::parse(bytes("\xff\xfe[\0A\0]\0\n\0"), AnsiCodePage::get(1252));
    utf16.setStoredValue(u"A", u"k", u"\u4e2d");
    QCOMPARE(utf16.serialize(), bytes("\xff\xfe[\0A\0]\0\n\0k\0=\0\x2d\x4e\n\0"));
}

QTEST_GUILESS_MAIN(TestIniDocument)
#include "tst_inidocument.moc"
