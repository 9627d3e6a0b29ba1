// mkdata: builds dat/zw.dat and the program's built-in tables (character index
// table, voice directory) from open sources, then reads the file back through
// the program's readers and prints what it measured.
//
//   mkdata --node-modules DIR [--lesson 大家学中文] [--unihan FILE] [--words FILE]
//          [--weights FILE] --dat OUT.dat --tables OUT.cpp
//          --work DIR [--plain LINES.txt]   (also writes the plain dictionary lines, GB2312)
//          [--recordings DIR]    (the recordings and their manifest.tsv)
//          [--help-table ROWS.html]  (the help file's lesson table rows)
//   mkdata --node-modules DIR --import-voices SOURCE --syllables "da4 jia1 ..."|all [--count N]
//          copies into --recordings, for each syllable its manifest lacks, the
//          recording of the commonest character read only so that passes the
//          checks (of the first N, default 2), adds it to the manifest, and
//          writes the syllables without one to unrecorded.tsv
//   mkdata --node-modules DIR --coverage N
//          prints how many of the N commonest characters by jieba's counts can
//          stand in a lesson (card syllable recorded, strokes inside the floor
//          alone), of the first 1,000 and 2,500 among them, and why the others
//          cannot
//   mkdata --node-modules DIR --lesson CHARS --print-slug
//          makes every refusal the build would make (characters, outlines,
//          recordings, phrase pages) without writing anything, prints the
//          lesson's name
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "data/dictionary.h"
#include "tools/mkdata/card_memo.h"
#include "tools/mkdata/coverage.h"
#include "tools/mkdata/dictionary_build.h"
#include "tools/mkdata/frequency.h"
#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/help_table.h"
#include "tools/mkdata/lesson_data.h"
#include "tools/mkdata/lesson_input.h"
#include "tools/mkdata/outlines.h"
#include "tools/mkdata/phrase_order.h"
#include "tools/mkdata/phrase_page.h"
#include "tools/mkdata/readings.h"
#include "tools/mkdata/recording_candidates.h"
#include "tools/mkdata/recording_pool.h"
#include "tools/mkdata/source_text.h"
#include "tools/mkdata/verify.h"
#include "tools/mkdata/voice_import.h"
#include "tools/mkdata/voice_levelling.h"
#include "tools/mkdata/voice_names.h"

namespace {

struct Options {
    std::string nodeModules;
    std::string unihan = "/usr/share/unicode/Unihan_Readings.txt.bz2";
    std::string words = "/usr/lib/python3/dist-packages/jieba/dict.txt";  // jieba's word counts
    std::string weights = "/usr/share/rime-data/pinyin_simp.dict.yaml";   // the second list
    std::string dat;
    std::string tables;
    std::string work;
    std::string plain;  // optional: the plain dictionary lines, for inspection
    std::string recordings = TF_RECORDINGS_DIR;
    std::string importVoices;  // a folder of recordings and its .tsv, to take from
    std::string syllables;
    std::string count = "2";  // candidates tried a syllable
    std::string lesson = kDefaultLesson;
    std::string helpTable;   // optional: the help file's lesson table rows
    std::string coverage;    // the number of commonest characters to check
    bool printSlug = false;  // only check the lesson and print its folder name
};

Options ParseOptions(int argc, char** argv) {
    Options o;
    std::map<std::string, std::string*> flags = {{"--node-modules", &o.nodeModules},
                                                 {"--unihan", &o.unihan},
                                                 {"--words", &o.words},
                                                 {"--weights", &o.weights},
                                                 {"--dat", &o.dat},
                                                 {"--tables", &o.tables},
                                                 {"--work", &o.work},
                                                 {"--plain", &o.plain},
                                                 {"--recordings", &o.recordings},
                                                 {"--import-voices", &o.importVoices},
                                                 {"--syllables", &o.syllables},
                                                 {"--count", &o.count},
                                                 {"--lesson", &o.lesson},
                                                 {"--help-table", &o.helpTable},
                                                 {"--coverage", &o.coverage}};
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == std::string("--print-slug")) {
            o.printSlug = true;
            continue;
        }
        const auto flag = flags.find(argv[i]);
        if (flag == flags.end() || i + 1 >= argc)
            throw std::runtime_error(std::string("unknown or incomplete option ") + argv[i]);
        *flag->second = argv[++i];
    }
    if (!o.importVoices.empty() && !o.nodeModules.empty()) return o;
    if ((o.printSlug || !o.coverage.empty()) && !o.nodeModules.empty()) return o;
    if (o.nodeModules.empty() || o.dat.empty() || o.tables.empty() || o.work.empty())
        throw std::runtime_error(
            "usage: mkdata --node-modules DIR [--unihan FILE] [--words FILE] [--weights FILE] "
            "--dat OUT "
            "--tables OUT --work DIR");
    return o;
}

std::string Source(const std::string& path) {
    auto text = ReadWholeFile(path);
    if (!text) throw std::runtime_error("cannot read " + path);
    return *text;
}

std::string ModuleText(const std::string& path) {
    auto text = TemplateStringText(Source(path));
    if (!text) throw std::runtime_error("no template string in " + path);
    return *text;
}

// Adds a checked recording of each syllable ("all": every one the source
// offers) to the recordings and their manifest.
int ImportVoices(const Options& o, const CharacterReadings& readings,
                 const std::unordered_map<std::string, long long>& frequencies) {
    std::vector<std::string> syllables;
    if (o.syllables == "all") {
        syllables = SyllablesOffered(o.importVoices, readings, frequencies);
    } else {
        for (const std::string& s : Split(o.syllables, ' '))
            if (!s.empty()) syllables.push_back(s);
    }
    const ImportResult result = ImportRecordings(o.importVoices, o.recordings, syllables,
                                                 std::stoul(o.count), readings, frequencies);
    std::printf(
        "%zu syllables: %zu recordings added, %zu cut out of words, %zu held already, %zu "
        "neutral characters left, %zu without one (%s)\n",
        syllables.size(), result.added, result.cut, result.kept, result.removed,
        result.unrecorded.size(), (o.recordings + "/unrecorded.tsv").c_str());
    return 0;
}

// The card the program is to find for code: the first single-character line
// of it among the plain lines, read by the program's column rules.
CardExpectation CardOfBuiltLines(const std::vector<std::string>& plain, std::uint16_t code) {
    for (const std::string& p : plain) {
        if (p.size() < 3 || GbCodeAt(p, 0) != code || p[2] != ' ') continue;
        char line[kLineBufferSize] = {};
        std::memcpy(line, p.data(), std::min(p.size(), sizeof line - 1));
        char pinyin[kPinyinBufferSize];
        char meaning[kMeaningBufferSize];
        char display[kDisplayBufferSize];
        RecordPinyin(line, pinyin);
        RecordMeaning(line, meaning);
        MeaningForDisplay(meaning, display);
        return {pinyin, display};
    }
    return {};
}

class Stopwatch {
public:
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

int Run(const Options& o) {
    Stopwatch clock;
    const LessonInput lesson = ParseLesson(o.lesson);
    CardMemo cardMemo;

    // Dictionary.
    DictionarySources sources;
    const std::string hanziData = o.nodeModules + "/hanzi/lib/data/";
    sources.entries = ParseCedict(ModuleText(hanziData + "cedict_ts.u8.js"));
    const std::string jieba = Source(o.words);
    sources.frequencies = WordFrequencies(jieba);
    const auto unihan = CommandOutput("bzcat '" + o.unihan + "'");
    if (!unihan) throw std::runtime_error("cannot read " + o.unihan);
    sources.readings = CardReadings(*unihan, sources.entries, WordTagsOf(jieba));
    const CharacterReadings characterReadings = ReadCharacterReadings(sources.entries, *unihan);
    if (!o.importVoices.empty()) return ImportVoices(o, characterReadings, sources.frequencies);
    // The lesson: refused before anything is written when it cannot be made well.
    const std::vector<std::uint16_t>& codes = lesson.codes;
    const std::string hanziWriterData = o.nodeModules + "/hanzi-writer-data";
    const std::string slug = LessonSlug(lesson, sources.readings, sources.frequencies);
    const OutlineBuild outlineBuild = BuildOutlines(hanziWriterData, codes, kOutlineBudget);

    sources.lessonCharacters = lesson.characters;
    sources.weights = DictionaryWeights(Source(o.weights));
    sources.cardMeaningFits = [&](const std::string& m) { return cardMemo.Fits(m); };
    DictionaryBuild dictionary = BuildDictionary(sources);
    std::vector<DictionaryLine> lines;  // the lines the file can store
    std::size_t unstorable = 0;
    for (DictionaryLine& line : dictionary.lines) {
        std::string out;
        std::string error;
        if (!ScrambleDictionaryLine(line.plain, out, error)) {
            if (unstorable++ < 3) std::cerr << "mkdata: line left out: " << error << "\n";
            continue;
        }
        lines.push_back(std::move(line));
    }
    RecordingPool pool = LoadRecordings(o.recordings, characterReadings, sources.frequencies);
    if (!o.coverage.empty()) {
        const std::vector<std::string> common =
            CommonestCharacters(sources.frequencies, std::stoul(o.coverage));
        const auto alone = [&](std::uint16_t code) {
            return FitAlone(hanziWriterData, code, kOutlineBudget);
        };
        const std::size_t firsts[] = {1000, 2500};
        std::printf(
            "%s", CoverageTable(MeasureCoverage(common, lines, pool.Query(), alone, kOutlineFloor),
                                firsts)
                      .c_str());
        return 0;
    }
    RefuseUnrecordedCards(lines, codes, pool.Query());
    std::vector<std::string> unspokenLeftOut;
    const std::vector<std::string> unspoken =
        MoveUnspokenPhrasesBack(lines, codes, pool.Query(), &unspokenLeftOut);
    const std::vector<std::string> overVoices =
        MovePhrasesBackToFitVoices(lines, codes, pool.Query());
    for (std::uint16_t code : codes) {
        const std::vector<std::string> repeated = RepeatedPhrases(lines, code, kCheckedPhrases);
        if (!repeated.empty())
            throw std::runtime_error(repeated.front() + " stands twice among the first " +
                                     std::to_string(kCheckedPhrases) +
                                     " phrases, before other words stand once");
    }
    const VoiceChoice choice = ChooseVoiceNames(lines, codes, sources.frequencies, pool.Query());
    if (o.printSlug) {
        std::printf("%s\n", slug.c_str());
        return 0;
    }
    std::printf("Lesson %s (%s)\nOutlines (hanzi-writer-data):\n%s  [%.1f s]\n", o.lesson.c_str(),
                slug.c_str(), outlineBuild.report.c_str(), clock.Seconds());
    std::filesystem::create_directories(o.work);
    for (const std::string& word : unspoken)
        std::printf("  %s: not recorded in full, behind the first phrase page\n", word.c_str());
    for (const std::string& word : unspokenLeftOut)
        std::printf("  %s: not recorded in full, and no phrase to take its place: left out\n",
                    word.c_str());
    for (const std::string& word : overVoices)
        std::printf("  %s: over the %zu voices, behind the first phrase page\n", word.c_str(),
                    kVoiceCount);

    std::vector<std::string> stored;
    std::vector<std::string> plain;
    for (const DictionaryLine& line : lines) {
        std::string out;
        std::string error;
        ScrambleDictionaryLine(line.plain, out, error);
        stored.push_back(std::move(out));
        plain.push_back(line.plain);
    }
    std::printf("Dictionary (CC-CEDICT): %zu entries read, %zu lines written\n",
                dictionary.entriesRead, lines.size());
    std::printf(
        "  left out: %zu not GB2312 hanzi, %zu words over 24 bytes, %zu pinyin not plain "
        "or over %zu bytes, %zu without an ASCII sense, %zu only pointing to themselves, "
        "%zu duplicates, %zu unstorable\n",
        dictionary.notGb2312, dictionary.wordTooLong, dictionary.badPinyin, kMaxPinyinBytes,
        dictionary.noMeaning, dictionary.selfReferences, dictionary.duplicates, unstorable);
    std::printf(
        "  %zu lines lost senses to the 173-byte meaning limit; the cards leave out %zu "
        "senses to show their meanings whole  [%.1f s]\n",
        dictionary.sensesCut, dictionary.cardSensesCut, clock.Seconds());
    std::string lessonWords;
    for (const std::string& word : dictionary.lessonWords) lessonWords += " " + word;
    std::printf("  lesson words:%s\n", lessonWords.c_str());
    std::vector<std::string> dictionaryFailures;
    for (std::uint16_t code : codes) {
        std::string page;
        for (std::size_t i : FirstPhrasePage(lines, code)) page += " " + lines[i].utf8Word;
        std::printf("  first phrase page of 0x%04X:%s\n", code, page.c_str());
    }

    // Voices.
    const VoiceBuild voiceBuild = BuildVoices(choice, pool, kVoiceBudget, o.work);
    std::printf(
        "Recordings (%s): %zu rows for %zu syllables; %zu syllables asked for, %zu "
        "recordings decoded\n%s",
        o.recordings.c_str(), pool.RowCount(), pool.SyllablesOffered(), pool.SyllablesAsked(),
        pool.Decoded().size(), PoolReport(pool).c_str());
    std::printf(
        "Voices (human recordings): %zu card, %zu phrase-page, %zu frequent "
        "syllables; %u Hz %d-bit, %zu of %zu bytes  [%.1f s]\n",
        choice.cardNames, choice.pageNames,
        choice.names.size() - choice.cardNames - choice.pageNames, voiceBuild.sampleRate,
        voiceBuild.bitsPerSample, voiceBuild.totalBytes, kVoiceBudget, clock.Seconds());
    for (const SpokenRecording& r : voiceBuild.recordings) {
        const PoolRecording& source = *pool.Find(r.spokenAs);
        std::printf("  voice %-7s %s %-7s %.3f s  %s\n", r.name.c_str(),
                    source.row.character.c_str(), r.spokenAs.c_str(), r.info.seconds,
                    source.tone.verdict.c_str());
    }

    std::vector<PlainOutline> outlines;
    VerifyOptions verify;
    verify.codes = codes;
    for (std::uint16_t code : codes) verify.cards.push_back(CardOfBuiltLines(plain, code));
    for (const CharacterOutline& c : outlineBuild.characters) {
        outlines.push_back({c.code, c.record, c.strokeOrder});
        verify.strokeOrders.push_back(c.strokeOrder);
    }
    std::vector<PlainVoice> voices;
    for (const SpokenRecording& r : voiceBuild.recordings) voices.push_back({r.name, r.wav});

    const LessonData data = AssembleLessonData(outlines, voices, stored);
    const std::string tables = LessonTablesSource(data, outlines, voices);
    std::filesystem::create_directories(std::filesystem::path(o.dat).parent_path());
    std::filesystem::create_directories(std::filesystem::path(o.tables).parent_path());
    WriteWholeFile(o.dat, data.file.data(), data.file.size());
    WriteWholeFile(o.tables, tables.data(), tables.size());
    if (!o.plain.empty()) {
        std::string text;
        for (const std::string& line : plain) text += line + "\n";
        WriteWholeFile(o.plain, text.data(), text.size());
    }

    // Read back.
    verify.plainLines = std::move(plain);
    const VerifyReport report =
        VerifyLessonData(o.dat, data.charIndex, data.voiceDirectory, verify);
    std::printf("Read back through the program's readers (%zu bytes):\n%s", data.file.size(),
                report.figures.c_str());
    // The card meanings as the card reads them, in its memo.
    std::printf("Card meanings in the memo (%d whole lines, the first empty):\n",
                cardMemo.LinesShown());
    const std::vector<CardMeaning> cardMeanings = ReadCardMeanings(o.dat, codes);
    for (const CardMeaning& card : cardMeanings) {
        if (!card.found) {
            std::printf("  0x%04X: no card record\n", card.code);
            dictionaryFailures.push_back("a lesson character has no card record");
            continue;
        }
        const int used = cardMemo.Lines(card.meaning);
        std::printf("  0x%04X: %d lines: %s\n", card.code, used, card.display.c_str());
        if (used > cardMemo.LinesShown())
            dictionaryFailures.push_back("the card meaning \"" + card.display +
                                         "\" does not fit the memo");
    }
    for (const std::string& failure : report.failures)
        std::printf("  FAILED: %s\n", failure.c_str());
    for (const std::string& failure : dictionaryFailures)
        std::printf("  FAILED: %s\n", failure.c_str());
    const bool ok = report.ok() && dictionaryFailures.empty();
    std::printf("%s  [%.1f s]\n", ok ? "All checks passed." : "Checks failed.", clock.Seconds());
    if (!ok) {
        std::filesystem::remove(o.dat);
        std::filesystem::remove(o.tables);
        if (!o.helpTable.empty()) std::filesystem::remove(o.helpTable);
        return 1;
    }
    if (!o.helpTable.empty()) {
        std::vector<HelpTableCard> cards;
        for (std::size_t i = 0; i < codes.size(); ++i)
            cards.push_back({lesson.characters[i], verify.cards[i].pinyin, cardMeanings[i].meaning,
                             outlineBuild.characters[i].strokeOrder.size()});
        std::string rows = HelpTableRows(cards);
        for (std::size_t i : FirstPhrasePage(lines, codes[0]))
            rows += HelpPhraseRow({lines[i].utf8Word, lines[i].pinyin, lines[i].meaning});
        WriteWholeFile(o.helpTable, rows.data(), rows.size());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The memo is laid out off screen, the same on every machine.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    try {
        return Run(ParseOptions(argc, argv));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mkdata: %s\n", e.what());
        return 1;
    }
}
