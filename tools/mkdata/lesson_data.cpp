#include "tools/mkdata/lesson_data.h"

#include <cstdio>
#include <stdexcept>

#include "data/des.h"
#include "data/descramble.h"
#include "data/lesson_file.h"

LessonData AssembleLessonData(const std::vector<PlainOutline>& outlines,
                              const std::vector<PlainVoice>& voices,
                              const std::vector<std::string>& storedLines) {
    using namespace lesson_file;
    if (outlines.size() != kCharIndexEntries) throw std::runtime_error("need five outlines");
    if (voices.size() != kVoiceEntries) throw std::runtime_error("need 26 voices");
    LessonData data;
    std::vector<std::uint8_t>& file = data.file;

    for (std::size_t p = 0; p < outlines.size(); ++p) {
        const PlainOutline& outline = outlines[p];
        std::vector<std::uint8_t> blob = outline.record;
        DescrambleStream(blob.data(), blob.size(), kOutlineFirstKeyIndex);
        file.insert(file.end(), blob.begin(), blob.end());
        data.charIndex[p] =
            EncodeCharIndexEntry(outline.code, static_cast<std::int32_t>(outline.record.size()));
    }
    if (file.size() > kStrokeOrderOffset)
        throw std::runtime_error("outline section of " + std::to_string(file.size()) +
                                 " bytes passes " + std::to_string(kStrokeOrderOffset));
    file.resize(kStrokeOrderOffset, 0);

    DesSetKey(kStrokeOrderKey);
    for (std::size_t slot = 0; slot < kStrokeOrderRecords; ++slot) {
        const auto& order = outlines[slot].strokeOrder;
        if (order.size() > kStrokeOrderRecordSize) throw std::runtime_error("more than 32 strokes");
        std::uint8_t record[kStrokeOrderRecordSize] = {};
        for (std::size_t s = 0; s < order.size(); ++s) record[s] = order[s];
        for (std::size_t block = 0; block < kStrokeOrderRecordSize; block += 8)
            DesBlock(record + block, kDesEncrypt);
        file.insert(file.end(), record, record + kStrokeOrderRecordSize);
    }

    for (std::size_t k = 0; k < voices.size(); ++k) {
        std::vector<std::uint8_t> image = voices[k].wav;
        DescrambleStream(image.data(), image.size(), kVoiceFirstKeyIndex);
        file.insert(file.end(), image.begin(), image.end());
        data.voiceDirectory[k] =
            EncodeVoiceEntry(voices[k].name, static_cast<std::int32_t>(voices[k].wav.size()));
    }
    if (file.size() > kDictionaryOffset)
        throw std::runtime_error("voice section passes " + std::to_string(kDictionaryOffset));
    file.resize(kDictionaryOffset, 0);

    for (const std::string& line : storedLines) file.insert(file.end(), line.begin(), line.end());
    return data;
}

namespace {

std::string CodesInitializer(const std::vector<PlainOutline>& outlines) {
    std::string out = "{";
    char buffer[16];
    for (std::size_t p = 0; p < outlines.size(); ++p) {
        std::snprintf(buffer, sizeof buffer, "%s0x%04X", p == 0 ? "" : ", ",
                      static_cast<unsigned>(outlines[p].code));
        out += buffer;
    }
    return out + "}";
}

std::string IndexInitializer(const LessonData& data, const std::vector<PlainOutline>& outlines) {
    std::string out = "{{\n";
    char buffer[256];
    for (std::size_t p = 0; p < data.charIndex.size(); ++p) {
        std::snprintf(buffer, sizeof buffer, "    {%d, %d},  // 0x%04X, %zu bytes\n",
                      data.charIndex[p].scaledCode, data.charIndex[p].scaledSize,
                      static_cast<unsigned>(outlines[p].code), outlines[p].record.size());
        out += buffer;
    }
    return out + "}}";
}

std::string VoicesInitializer(const LessonData& data, const std::vector<PlainVoice>& voices) {
    std::string out = "{{\n";
    char buffer[256];
    for (std::size_t k = 0; k < data.voiceDirectory.size(); ++k) {
        const VoiceEntry& e = data.voiceDirectory[k];
        out += "    {{";
        for (int i = 0; i < 8; ++i) {
            std::snprintf(buffer, sizeof buffer, "%s0x%02X", i == 0 ? "" : ", ", e.name[i]);
            out += buffer;
        }
        std::snprintf(buffer, sizeof buffer, "}, %d},  // %s, %zu bytes\n", e.lengthCode,
                      voices[k].name.c_str(), voices[k].wav.size());
        out += buffer;
    }
    return out + "}}";
}

// The built-in tables of the lesson the program starts with.
std::string BuiltInTables(const LessonData& data, const std::vector<PlainOutline>& outlines,
                          const std::vector<PlainVoice>& voices) {
    return "const lesson_file::LessonCodes lesson_file::kLessonCodes = " +
           CodesInitializer(outlines) +
           ";\n\nconst std::array<CharIndexEntry, kCharIndexEntries> CharIndexTable = " +
           IndexInitializer(data, outlines) +
           ";\n\nconst std::array<VoiceEntry, kVoiceEntries> VoiceDirectory = " +
           VoicesInitializer(data, voices) + ";\n";
}

}  // namespace

std::string CLiteral(const std::string& text) {
    std::string out = "\"";
    char buffer[8];
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '"' && c != '\\' && c != '?') {
            out += c;
        } else {
            std::snprintf(buffer, sizeof buffer, "\\%03o", u);
            out += buffer;
        }
    }
    return out + "\"";
}

std::string LessonTablesSource(const LessonData& data, const std::vector<PlainOutline>& outlines,
                               const std::vector<PlainVoice>& voices) {
    return "// Generated by tools/mkdata together with dat/zw.dat: do not edit.\n"
           "#include \"data/lesson_file.h\"\n"
           "#include \"glyph/char_index.h\"\n"
           "#include \"lesson/voice_directory.h\"\n\n" +
           BuiltInTables(data, outlines, voices);
}

std::string CourseTablesSource(const std::string& title, const std::string& name,
                               const std::vector<CourseTables>& lessons) {
    if (lessons.empty()) throw std::runtime_error("a course without lessons");
    std::string out =
        "// Generated by tools/mkdata together with the course's dat/: do not edit.\n"
        "#include \"app/course.h\"\n\n" +
        BuiltInTables(*lessons[0].head, *lessons[0].outlines, *lessons[0].voices) +
        "\nnamespace {\n";
    for (std::size_t k = 1; k < lessons.size(); ++k) {
        const CourseTables& l = lessons[k];
        const std::string n = std::to_string(k + 1);
        out += "\nconst lesson_file::LessonCodes codes" + n + " = " +
               CodesInitializer(*l.outlines) +
               ";\nconst std::array<CharIndexEntry, kCharIndexEntries> index" + n + " = " +
               IndexInitializer(*l.head, *l.outlines) +
               ";\nconst std::array<VoiceEntry, kVoiceEntries> voices" + n + " = " +
               VoicesInitializer(*l.head, *l.voices) + ";\n";
    }
    out += "\nconst CourseLesson lessons[] = {\n";
    for (std::size_t k = 0; k < lessons.size(); ++k) {
        const CourseTables& l = lessons[k];
        const std::string n = std::to_string(k + 1);
        const std::string tables =
            k == 0 ? "&lesson_file::kLessonCodes, &CharIndexTable, &VoiceDirectory"
                   : "&codes" + n + ", &index" + n + ", &voices" + n;
        out += "    {{" + tables + ", " + CLiteral(l.path) + "}, " + CLiteral(l.helpFile) + ", " +
               CLiteral(l.menuText) + "},\n";
    }
    out += "};\n\n}  // namespace\n\nconst Course kCourse = {" + CLiteral(title) + ", " +
           CLiteral(name) + ", lessons};\n";
    return out;
}
