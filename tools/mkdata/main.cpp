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
//   mkdata --node-modules DIR --course FILE --out DIR --work DIR [--print-slug]
//          a course: one lesson a line (tools/mkdata/course_input.h); writes
//          DIR/dat/zw.dat (lesson 1 and the course's one dictionary),
//          DIR/dat/zw-002.dat ... (each further lesson's outlines, stroke
//          orders and voices), DIR/course_tables.cpp, DIR/help/lesson-NNN.html
//          (help table rows) and DIR/course.tsv (name, title, lessons) only
//          when every lesson passes; --print-slug checks it and prints its name
//   mkdata --node-modules DIR --lesson CHARS --print-slug
//          makes every refusal the build would make (characters, outlines,
//          recordings, phrase pages) without writing anything, prints the
//          lesson's name
#include <QApplication>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>

#include "data/dictionary.h"
#include "tools/mkdata/card_memo.h"
#include "tools/mkdata/course_dictionary.h"
#include "tools/mkdata/course_input.h"
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
    std::string course;      // a course file
    std::string out;         // the course's output folder
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
                                                 {"--coverage", &o.coverage},
                                                 {"--course", &o.course},
                                                 {"--out", &o.out}};
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
    if (!o.course.empty() && !o.nodeModules.empty() && !o.out.empty() && !o.work.empty()) return o;
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

// What every lesson is made from, read once.
struct Sources {
    DictionarySources dictionary;  // lessonCharacters set for each lesson
    CharacterReadings characterReadings;
    std::string hanziWriterData;
};

Sources ReadSources(const Options& o, CardMemo& cardMemo) {
    Sources s;
    const std::string hanziData = o.nodeModules + "/hanzi/lib/data/";
    s.dictionary.entries = ParseCedict(ModuleText(hanziData + "cedict_ts.u8.js"));
    const std::string jieba = Source(o.words);
    s.dictionary.frequencies = WordFrequencies(jieba);
    const auto unihan = CommandOutput("bzcat '" + o.unihan + "'");
    if (!unihan) throw std::runtime_error("cannot read " + o.unihan);
    s.dictionary.readings = CardReadings(*unihan, s.dictionary.entries, WordTagsOf(jieba));
    s.characterReadings = ReadCharacterReadings(s.dictionary.entries, *unihan);
    s.hanziWriterData = o.nodeModules + "/hanzi-writer-data";
    s.dictionary.cardMeaningFits = [&cardMemo](const std::string& m) { return cardMemo.Fits(m); };
    return s;
}

// The lines the file can store, in file order; the others are counted.
std::vector<DictionaryLine> StorableLines(std::vector<DictionaryLine>& lines,
                                          std::size_t& unstorable) {
    std::vector<DictionaryLine> out;
    for (DictionaryLine& line : lines) {
        std::string stored;
        std::string error;
        if (!ScrambleDictionaryLine(line.plain, stored, error)) {
            if (unstorable++ < 3) std::cerr << "mkdata: line left out: " << error << "\n";
            continue;
        }
        out.push_back(std::move(line));
    }
    return out;
}

// A lesson as it is made on its own: its outlines, and its dictionary lines
// in file order, the first phrase pages spoken in full within the voices.
struct LessonPlan {
    LessonInput lesson;
    std::string slug;
    OutlineBuild outlines;
    DictionaryBuild dictionary;  // its lines: the storable ones, in file order
    std::size_t unstorable = 0;
    std::vector<std::string> unspoken, unspokenLeftOut, overVoices;
};

// alone: only the lines of the lesson characters' words (as the whole dictionary orders them).
// outlines: the lesson's outlines when they are fitted already.
LessonPlan PlanLesson(Sources& sources, const LessonInput& lesson, const RecordedQuery& recorded,
                      bool alone = false, std::future<OutlineBuild>* outlines = nullptr) {
    LessonPlan plan;
    plan.lesson = lesson;
    const std::vector<std::uint16_t>& codes = lesson.codes;
    plan.slug = LessonSlug(lesson, sources.dictionary.readings, sources.dictionary.frequencies);
    plan.outlines =
        outlines ? outlines->get() : BuildOutlines(sources.hanziWriterData, codes, kOutlineBudget);
    sources.dictionary.lessonCharacters = lesson.characters;
    if (alone) sources.dictionary.firstCharacters = lesson.characters;
    plan.dictionary = BuildDictionary(sources.dictionary);
    sources.dictionary.firstCharacters.clear();
    std::vector<DictionaryLine>& lines = plan.dictionary.lines;
    lines = StorableLines(lines, plan.unstorable);
    RefuseUnrecordedCards(lines, codes, recorded);
    plan.unspoken = MoveUnspokenPhrasesBack(lines, codes, recorded, &plan.unspokenLeftOut);
    plan.overVoices = MovePhrasesBackToFitVoices(lines, codes, recorded);
    for (std::uint16_t code : codes) {
        const std::vector<std::string> repeated = RepeatedPhrases(lines, code, kCheckedPhrases);
        if (!repeated.empty())
            throw std::runtime_error(repeated.front() + " stands twice among the first " +
                                     std::to_string(kCheckedPhrases) +
                                     " phrases, before other words stand once");
    }
    return plan;
}

std::vector<std::string> StoredLines(const std::vector<DictionaryLine>& lines) {
    std::vector<std::string> stored;
    for (const DictionaryLine& line : lines) {
        std::string out;
        std::string error;
        ScrambleDictionaryLine(line.plain, out, error);
        stored.push_back(std::move(out));
    }
    return stored;
}

std::vector<std::string> PlainLines(const std::vector<DictionaryLine>& lines) {
    std::vector<std::string> plain;
    for (const DictionaryLine& line : lines) plain.push_back(line.plain);
    return plain;
}

// A lesson's file sections made from its plan and the voices chosen for the
// dictionary lines the program will read: the head (outlines, stroke orders,
// voices) and its tables.
struct MadeLesson {
    VoiceChoice choice;
    VoiceBuild voices;
    std::vector<PlainOutline> outlines;
    std::vector<PlainVoice> plainVoices;
    LessonData head;  // the file up to the dictionary
};

MadeLesson MakeLesson(const LessonPlan& plan, VoiceChoice choice, RecordingPool& pool,
                      const std::string& work) {
    MadeLesson made;
    made.choice = std::move(choice);
    std::filesystem::create_directories(work);
    made.voices = BuildVoices(made.choice, pool, kVoiceBudget, work);
    for (const CharacterOutline& c : plan.outlines.characters)
        made.outlines.push_back({c.code, c.record, c.strokeOrder});
    for (const SpokenRecording& r : made.voices.recordings)
        made.plainVoices.push_back({r.name, r.wav});
    made.head = AssembleLessonData(made.outlines, made.plainVoices, {});
    return made;
}

// Reads a lesson's file back through the program's readers: the sections, the
// dictionary, and each card's meaning in its memo. Prints the figures and
// every failure; returns the cards as the memo shows them, empty on failure.
std::optional<std::vector<CardMeaning>> CheckLessonFile(const std::string& dat,
                                                        const LessonPlan& plan,
                                                        const MadeLesson& made,
                                                        const std::vector<std::string>& plain,
                                                        std::size_t bytes, CardMemo& cardMemo,
                                                        std::vector<CardExpectation>& cards) {
    const std::vector<std::uint16_t>& codes = plan.lesson.codes;
    VerifyOptions verify;
    verify.codes = codes;
    for (std::uint16_t code : codes) verify.cards.push_back(CardOfBuiltLines(plain, code));
    for (const PlainOutline& o : made.outlines) verify.strokeOrders.push_back(o.strokeOrder);
    verify.plainLines = plain;
    const VerifyReport report =
        VerifyLessonData(dat, made.head.charIndex, made.head.voiceDirectory, verify);
    std::printf("Read back through the program's readers (%zu bytes):\n%s", bytes,
                report.figures.c_str());
    std::printf("Card meanings in the memo (%d whole lines, the first empty):\n",
                cardMemo.LinesShown());
    std::vector<std::string> failures = report.failures;
    const std::vector<CardMeaning> cardMeanings = ReadCardMeanings(dat, codes);
    for (const CardMeaning& card : cardMeanings) {
        if (!card.found) {
            std::printf("  0x%04X: no card record\n", card.code);
            failures.push_back("a lesson character has no card record");
            continue;
        }
        const int used = cardMemo.Lines(card.meaning);
        std::printf("  0x%04X: %d lines: %s\n", card.code, used, card.display.c_str());
        if (used > cardMemo.LinesShown())
            failures.push_back("the card meaning \"" + card.display + "\" does not fit the memo");
    }
    for (const std::string& failure : failures) std::printf("  FAILED: %s\n", failure.c_str());
    cards = verify.cards;
    if (!failures.empty()) return std::nullopt;
    return cardMeanings;
}

std::string HelpRows(const LessonPlan& plan, const std::vector<DictionaryLine>& lines,
                     const std::vector<CardExpectation>& cards,
                     const std::vector<CardMeaning>& cardMeanings) {
    const std::vector<std::uint16_t>& codes = plan.lesson.codes;
    std::vector<HelpTableCard> table;
    for (std::size_t i = 0; i < codes.size(); ++i)
        table.push_back({plan.lesson.characters[i], cards[i].pinyin, cardMeanings[i].meaning,
                         plan.outlines.characters[i].strokeOrder.size()});
    std::string rows = HelpTableRows(table);
    for (std::size_t i : FirstPhrasePage(lines, codes[0]))
        rows += HelpPhraseRow({lines[i].utf8Word, lines[i].pinyin, lines[i].meaning});
    return rows;
}

void PrintPlan(const LessonPlan& plan, const std::vector<DictionaryLine>& lines) {
    for (const std::string& word : plan.unspoken)
        std::printf("  %s: not recorded in full, behind the first phrase page\n", word.c_str());
    for (const std::string& word : plan.unspokenLeftOut)
        std::printf("  %s: not recorded in full, and no phrase to take its place: left out\n",
                    word.c_str());
    for (const std::string& word : plan.overVoices)
        std::printf("  %s: over the %zu voices, behind the first phrase page\n", word.c_str(),
                    kVoiceCount);
    for (std::uint16_t code : plan.lesson.codes) {
        std::string page;
        for (std::size_t i : FirstPhrasePage(lines, code)) page += " " + lines[i].utf8Word;
        std::printf("  first phrase page of 0x%04X:%s\n", code, page.c_str());
    }
}

void PrintVoices(const MadeLesson& made, RecordingPool& pool) {
    std::printf(
        "Voices (human recordings): %zu card, %zu phrase-page, %zu frequent "
        "syllables; %u Hz %d-bit, %zu of %zu bytes\n",
        made.choice.cardNames, made.choice.pageNames,
        made.choice.names.size() - made.choice.cardNames - made.choice.pageNames,
        made.voices.sampleRate, made.voices.bitsPerSample, made.voices.totalBytes, kVoiceBudget);
    for (const SpokenRecording& r : made.voices.recordings) {
        const PoolRecording& source = *pool.Find(r.spokenAs);
        std::printf("  voice %-7s %s %-7s %.3f s  %s\n", r.name.c_str(),
                    source.row.character.c_str(), r.spokenAs.c_str(), r.info.seconds,
                    source.tone.verdict.c_str());
    }
}

int Run(const Options& o) {
    Stopwatch clock;
    const LessonInput lesson = ParseLesson(o.lesson);
    CardMemo cardMemo;
    Sources sources = ReadSources(o, cardMemo);
    if (!o.importVoices.empty())
        return ImportVoices(o, sources.characterReadings, sources.dictionary.frequencies);
    sources.dictionary.weights = DictionaryWeights(Source(o.weights));
    RecordingPool pool =
        LoadRecordings(o.recordings, sources.characterReadings, sources.dictionary.frequencies);
    if (!o.coverage.empty()) {
        sources.dictionary.lessonCharacters = lesson.characters;
        DictionaryBuild dictionary = BuildDictionary(sources.dictionary);
        std::size_t unstorable = 0;
        const std::vector<DictionaryLine> lines = StorableLines(dictionary.lines, unstorable);
        const std::vector<std::string> common =
            CommonestCharacters(sources.dictionary.frequencies, std::stoul(o.coverage));
        const auto alone = [&](std::uint16_t code) {
            return FitAlone(sources.hanziWriterData, code, kOutlineBudget);
        };
        const std::size_t firsts[] = {1000, 2500};
        std::printf(
            "%s", CoverageTable(MeasureCoverage(common, lines, pool.Query(), alone, kOutlineFloor),
                                firsts)
                      .c_str());
        return 0;
    }

    // The lesson: refused before anything is written when it cannot be made well.
    const LessonPlan plan = PlanLesson(sources, lesson, pool.Query());
    const std::vector<DictionaryLine>& lines = plan.dictionary.lines;
    VoiceChoice choice =
        ChooseVoiceNames(lines, lesson.codes, sources.dictionary.frequencies, pool.Query());
    if (o.printSlug) {
        std::printf("%s\n", plan.slug.c_str());
        return 0;
    }
    std::printf("Lesson %s (%s)\nOutlines (hanzi-writer-data):\n%s  [%.1f s]\n", o.lesson.c_str(),
                plan.slug.c_str(), plan.outlines.report.c_str(), clock.Seconds());
    PrintPlan(plan, lines);
    const DictionaryBuild& dictionary = plan.dictionary;
    std::printf("Dictionary (CC-CEDICT): %zu entries read, %zu lines written\n",
                dictionary.entriesRead, lines.size());
    std::printf(
        "  left out: %zu not GB2312 hanzi, %zu words over 24 bytes, %zu pinyin not plain "
        "or over %zu bytes, %zu without an ASCII sense, %zu only pointing to themselves, "
        "%zu duplicates, %zu unstorable\n",
        dictionary.notGb2312, dictionary.wordTooLong, dictionary.badPinyin, kMaxPinyinBytes,
        dictionary.noMeaning, dictionary.selfReferences, dictionary.duplicates, plan.unstorable);
    std::printf(
        "  %zu lines lost senses to the 173-byte meaning limit; the cards leave out %zu "
        "senses to show their meanings whole  [%.1f s]\n",
        dictionary.sensesCut, dictionary.cardSensesCut, clock.Seconds());
    std::string lessonWords;
    for (const std::string& word : dictionary.lessonWords) lessonWords += " " + word;
    std::printf("  lesson words:%s\n", lessonWords.c_str());

    const MadeLesson made = MakeLesson(plan, std::move(choice), pool, o.work);
    std::printf(
        "Recordings (%s): %zu rows for %zu syllables; %zu syllables asked for, %zu "
        "recordings decoded\n%s",
        o.recordings.c_str(), pool.RowCount(), pool.SyllablesOffered(), pool.SyllablesAsked(),
        pool.Decoded().size(), PoolReport(pool).c_str());
    PrintVoices(made, pool);

    const std::vector<std::string> stored = StoredLines(lines);
    const LessonData data = AssembleLessonData(made.outlines, made.plainVoices, stored);
    const std::string tables = LessonTablesSource(data, made.outlines, made.plainVoices);
    std::filesystem::create_directories(std::filesystem::path(o.dat).parent_path());
    std::filesystem::create_directories(std::filesystem::path(o.tables).parent_path());
    WriteWholeFile(o.dat, data.file.data(), data.file.size());
    WriteWholeFile(o.tables, tables.data(), tables.size());
    const std::vector<std::string> plain = PlainLines(lines);
    if (!o.plain.empty()) {
        std::string text;
        for (const std::string& line : plain) text += line + "\n";
        WriteWholeFile(o.plain, text.data(), text.size());
    }

    std::vector<CardExpectation> cards;
    const auto cardMeanings =
        CheckLessonFile(o.dat, plan, made, plain, data.file.size(), cardMemo, cards);
    std::printf("%s  [%.1f s]\n", cardMeanings ? "All checks passed." : "Checks failed.",
                clock.Seconds());
    if (!cardMeanings) {
        std::filesystem::remove(o.dat);
        std::filesystem::remove(o.tables);
        if (!o.helpTable.empty()) std::filesystem::remove(o.helpTable);
        return 1;
    }
    if (!o.helpTable.empty()) {
        const std::string rows = HelpRows(plan, lines, cards, *cardMeanings);
        WriteWholeFile(o.helpTable, rows.data(), rows.size());
    }
    return 0;
}

// The course's lesson number as the names of its files give it: "002".
std::string LessonNumber(std::size_t number) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%03zu", number);
    return buffer;
}

constexpr std::size_t kFitters = 2;

int RunCourse(const Options& o) {
    Stopwatch clock;
    const auto text = ReadWholeFile(o.course);
    if (!text) throw std::runtime_error("cannot read the course " + o.course);
    const std::string file = std::filesystem::path(o.course).filename().string();
    CourseInput course;
    try {
        course = ParseCourse(*text, o.course);
    } catch (const std::exception& e) {
        throw std::runtime_error(file + ", " + e.what());
    }
    CardMemo cardMemo;
    Sources sources = ReadSources(o, cardMemo);
    sources.dictionary.weights = DictionaryWeights(Source(o.weights));
    RecordingPool pool =
        LoadRecordings(o.recordings, sources.characterReadings, sources.dictionary.frequencies);
    std::printf("Course %s (%s): %zu lessons, sources read  [%.1f s]\n", course.title.c_str(),
                course.name.c_str(), course.lessons.size(), clock.Seconds());

    // The dictionary every lesson shares, ordered once; then each lesson's
    // characters' lines as the lesson orders them on its own. A character's
    // lines are settled by the first lesson that teaches it, and later lessons
    // play them so.
    sources.dictionary.lessonCharacters = course.lessons.front().lesson.characters;
    DictionaryBuild shared = BuildDictionary(sources.dictionary);
    std::size_t unstorable = 0;
    const std::vector<DictionaryLine> base = StorableLines(shared.lines, unstorable);
    shared.lines.clear();
    std::printf("  the dictionary ordered  [%.1f s]\n", clock.Seconds());
    // The outlines of the lessons, fitted by two threads beside the rest.
    std::vector<std::promise<OutlineBuild>> fits(course.lessons.size());
    std::vector<std::future<OutlineBuild>> fitted;
    for (auto& fit : fits) fitted.push_back(fit.get_future());
    std::atomic<bool> stop = false;
    const auto fitEvery = [&](std::size_t first) {
        for (std::size_t k = first; k < fits.size() && !stop; k += kFitters) {
            try {
                fits[k].set_value(BuildOutlines(sources.hanziWriterData,
                                                course.lessons[k].lesson.codes, kOutlineBudget));
            } catch (...) {
                fits[k].set_exception(std::current_exception());
            }
        }
    };
    std::array<std::jthread, kFitters> fitters;
    for (std::size_t f = 0; f < kFitters; ++f) fitters[f] = std::jthread(fitEvery, f);
    struct StopFitters {
        std::atomic<bool>& stop;
        ~StopFitters() { stop = true; }
    } stopFitters{stop};
    std::vector<LessonPlan> plans;
    std::vector<MadeLesson> made;
    std::vector<SettledCharacter> settled;
    for (const CourseLesson& lesson : course.lessons) {
        const std::string where =
            file + ", line " + std::to_string(lesson.line) + " (" + lesson.text + "): ";
        try {
            LessonPlan plan =
                PlanLesson(sources, lesson.lesson, pool.Query(), true, &fitted[plans.size()]);
            for (std::uint16_t code : lesson.lesson.codes) {
                const bool known = std::any_of(settled.begin(), settled.end(),
                                               [&](const auto& s) { return s.code == code; });
                if (!known)
                    settled.push_back({code, LinesBeginningWith(plan.dictionary.lines, code)});
            }
            plan.dictionary.lines.clear();
            const std::vector<DictionaryLine> lines = WithSettledLines(base, settled);
            VoiceChoice choice = ChooseVoiceNames(lines, lesson.lesson.codes,
                                                  sources.dictionary.frequencies, pool.Query());
            if (!o.printSlug)
                made.push_back(MakeLesson(plan, std::move(choice), pool,
                                          o.work + "/lesson-" + LessonNumber(plans.size() + 1)));
            plans.push_back(std::move(plan));
        } catch (const std::exception& e) {
            throw std::runtime_error(where + e.what());
        }
        std::printf("  lesson %zu %s  [%.1f s]\n", plans.size(), lesson.text.c_str(),
                    clock.Seconds());
    }
    if (o.printSlug) {
        std::printf("%s\n", course.name.c_str());
        return 0;
    }

    // The one dictionary, read back with each lesson's head.
    const std::vector<DictionaryLine> lines = WithSettledLines(base, settled);
    const std::vector<std::string> stored = StoredLines(lines);
    const std::vector<std::string> plain = PlainLines(lines);
    std::vector<std::uint8_t> dictionary;
    for (const std::string& line : stored)
        dictionary.insert(dictionary.end(), line.begin(), line.end());
    std::printf("Dictionary: %zu lines, %zu bytes, %zu characters settled\n", lines.size(),
                dictionary.size(), settled.size());
    std::vector<std::string> helpRows;
    const std::string check = o.work + "/check.dat";
    for (std::size_t k = 0; k < plans.size(); ++k) {
        std::vector<std::uint8_t> whole = made[k].head.file;
        whole.insert(whole.end(), dictionary.begin(), dictionary.end());
        WriteWholeFile(check, whole.data(), whole.size());
        std::vector<CardExpectation> cards;
        const auto meanings =
            CheckLessonFile(check, plans[k], made[k], plain, whole.size(), cardMemo, cards);
        if (!meanings)
            throw std::runtime_error(file + ", line " + std::to_string(course.lessons[k].line) +
                                     " (" + course.lessons[k].text + "): checks failed");
        helpRows.push_back(HelpRows(plans[k], lines, cards, *meanings));
    }
    std::filesystem::remove(check);

    // Written only when every lesson passed.
    std::vector<CourseTables> tables;
    std::string tsv = "name\t" + course.name + "\ntitle\t" + course.title + "\n";
    for (std::size_t k = 0; k < plans.size(); ++k) {
        const std::string n = LessonNumber(k + 1);
        CourseTables t;
        t.head = &made[k].head;
        t.outlines = &made[k].outlines;
        t.voices = &made[k].plainVoices;
        t.path = k == 0 ? std::string(lesson_file::kPath) : "dat/zw-" + n + ".dat";
        t.helpFile = k == 0 ? std::string("tallowfern.chm") : "help/lesson-" + n + ".chm";
        t.menuText = CourseMenuText(k + 1, plans[k].lesson, sources.dictionary.readings);
        tsv += "lesson\t" + std::to_string(k + 1) + "\t" + course.lessons[k].text + "\t" +
               t.menuText + "\n";
        tables.push_back(std::move(t));
    }
    const std::string source = CourseTablesSource(course.title, course.name, tables);
    std::filesystem::create_directories(o.out + "/dat");
    std::filesystem::create_directories(o.out + "/help");
    for (std::size_t k = 0; k < plans.size(); ++k) {
        const std::string n = LessonNumber(k + 1);
        std::vector<std::uint8_t> bytes = made[k].head.file;
        if (k == 0) bytes.insert(bytes.end(), dictionary.begin(), dictionary.end());
        WriteWholeFile(o.out + "/" + tables[k].path, bytes.data(), bytes.size());
        WriteWholeFile(o.out + "/help/lesson-" + n + ".html", helpRows[k].data(),
                       helpRows[k].size());
    }
    WriteWholeFile(o.out + "/course_tables.cpp", source.data(), source.size());
    WriteWholeFile(o.out + "/course.tsv", tsv.data(), tsv.size());
    std::printf("Course %s written to %s  [%.1f s]\n", course.name.c_str(), o.out.c_str(),
                clock.Seconds());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The memo is laid out off screen, the same on every machine.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    try {
        const Options options = ParseOptions(argc, argv);
        return options.course.empty() ? Run(options) : RunCourse(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mkdata: %s\n", e.what());
        return 1;
    }
}
