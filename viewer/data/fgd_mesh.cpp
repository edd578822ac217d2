#include "data/fgd_mesh.h"

#include <expat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <system_error>
#include <vector>

namespace orvex {

FgdMeshShape fgdMeshShape(FgdResolution resolution)
{
    if (resolution == FgdResolution::metres10)
        return {1125, 750, 1 / 8.0, 1 / 12.0};
    return {225, 150, 1 / 80.0, 1 / 120.0};
}

double meshSouth(const MeshCode& code)
{
    return code.pp / 1.5 + code.p / 12.0 + std::max(code.r, 0) / 120.0;
}

double meshWest(const MeshCode& code)
{
    return 100 + code.qq + code.q / 8.0 + std::max(code.s, 0) / 80.0;
}

namespace {

// Reads the parts of a name or a number list from left to right.
class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) {}
    bool atEnd() const { return pos_ == text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    bool skip(std::string_view word)
    {
        if (text_.size() - pos_ < word.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            char c = text_[pos_ + i];
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            if (c != word[i])
                return false;
        }
        pos_ += word.size();
        return true;
    }
    // Exactly `count` decimal digits.
    std::optional<int> digits(int count)
    {
        if (text_.size() - pos_ < static_cast<std::size_t>(count))
            return std::nullopt;
        int value = 0;
        for (int i = 0; i < count; ++i) {
            const char c = text_[pos_ + i];
            if (c < '0' || c > '9')
                return std::nullopt;
            value = value * 10 + (c - '0');
        }
        pos_ += count;
        return value;
    }
    void skipSpace()
    {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\r' || peek() == '\n'))
            ++pos_;
    }
    template <typename Number> std::optional<Number> number()
    {
        skipSpace();
        Number value{};
        const auto [end, ec] = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), value);
        if (ec != std::errc() || end == text_.data() + pos_)
            return std::nullopt;
        pos_ = static_cast<std::size_t>(end - text_.data());
        return value;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

// Two numbers and nothing else.
template <typename Number> std::optional<std::array<Number, 2>> numberPair(std::string_view text)
{
    Cursor cursor(text);
    const std::optional<Number> a = cursor.template number<Number>();
    const std::optional<Number> b = cursor.template number<Number>();
    cursor.skipSpace();
    if (!a || !b || !cursor.atEnd())
        return std::nullopt;
    return std::array<Number, 2>{*a, *b};
}

} // namespace

std::optional<FgdName> parseFgdName(std::string_view fileName)
{
    Cursor cursor(fileName);
    FgdName name;
    if (!cursor.skip("FG-GML-"))
        return std::nullopt;
    const std::optional<int> cell = cursor.digits(4);
    std::optional<int> sheet;
    if (!cell || !cursor.skip("-") || !(sheet = cursor.digits(2)) || !cursor.skip("-"))
        return std::nullopt;
    name.code = {*cell / 100, *cell % 100, *sheet / 10, *sheet % 10};
    if (const std::optional<int> tertiary = cursor.digits(2)) {
        if (!cursor.skip("-"))
            return std::nullopt;
        name.code.r = *tertiary / 10;
        name.code.s = *tertiary % 10;
    }
    if (!cursor.skip("DEM"))
        return std::nullopt;
    if (cursor.skip("10"))
        name.resolution = FgdResolution::metres10;
    else if (cursor.skip("5"))
        name.resolution = FgdResolution::metres5;
    else
        return std::nullopt;
    for (const char survey : {'A', 'B', 'C'}) {
        if (cursor.skip(std::string_view(&survey, 1))) {
            name.survey = survey;
            break;
        }
    }
    if (name.survey == 0 || !inRange(name.code.p, 0, 7) || !inRange(name.code.q, 0, 7))
        return std::nullopt;
    if (name.resolution == FgdResolution::metres10 && name.code.r >= 0)
        return std::nullopt;
    if (cursor.skip("-")) {
        const std::optional<int> date = cursor.digits(8);
        if (!date)
            return std::nullopt;
        name.date = *date;
    }
    if (!cursor.atEnd() && cursor.peek() != '.')
        return std::nullopt;
    return name;
}

namespace {

// The elements whose text the reader takes, by their local names.
enum class Field { none, tuples, lowerCorner, upperCorner, low, high, startPoint, mesh, type };

struct NamedField {
    std::string_view name;
    Field field;
};
constexpr NamedField namedFields[] = {
    {"tupleList", Field::tuples},
    {"lowerCorner", Field::lowerCorner},
    {"upperCorner", Field::upperCorner},
    {"low", Field::low},
    {"high", Field::high},
    {"startPoint", Field::startPoint},
    {"mesh", Field::mesh},
    {"type", Field::type},
};

struct NamedClass {
    std::string_view name;
    FgdClass kind;
};
// The commonest first.
constexpr NamedClass namedClasses[] = {
    {"地表面", FgdClass::ground},      {"表層面", FgdClass::surface},    {"海水面", FgdClass::sea},
    {"内水面", FgdClass::inlandWater}, {"データなし", FgdClass::noData}, {"その他", FgdClass::other},
};

std::string_view localName(const XML_Char* name)
{
    const std::string_view full(name);
    const std::size_t colon = full.rfind(':');
    return colon == std::string_view::npos ? full : full.substr(colon + 1);
}

constexpr std::size_t longestFieldText = 1024;
constexpr std::size_t longestTuple = 256;
constexpr std::size_t tupleBatch = 1 << 16;

bool isSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r';
}

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The bytes of the UTF-8 sequence that `lead` starts; 0 for a byte that
// cannot start one.
std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// What a byte is in text that could be passed on plainly.
enum class ByteKind : std::uint8_t { stop, plain, lineFeed, multibyte };
constexpr std::array<ByteKind, 256> byteKinds = [] {
    std::array<ByteKind, 256> kinds{};
    for (int byte = 0x20; byte < 0x80; ++byte)
        kinds[byte] = ByteKind::plain;
    for (int byte = 0x80; byte < 0x100; ++byte)
        kinds[byte] = ByteKind::multibyte;
    kinds['\t'] = kinds['\r'] = ByteKind::plain;
    kinds['\n'] = ByteKind::lineFeed;
    kinds['<'] = kinds['&'] = kinds[']'] = ByteKind::stop;
    return kinds;
}();

// The length of the longest start of `text` that an XML parser passes on
// as character data unchanged, but for line ends (white space either way):
// no markup, no reference, no ']' (which could start "]]>"), only
// well-formed UTF-8 of XML characters. `cut` tells that it stops at a
// sequence the end of `text` cuts, which may go on in the next piece;
// `lines` counts the line feeds in it.
std::size_t plainTextLength(std::string_view text, bool& cut, std::size_t& lines)
{
    cut = false;
    lines = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    const auto follows = [bytes](std::size_t at) { return (bytes[at] & 0xC0) == 0x80; };
    std::size_t at = 0;
    while (at < size) {
        const unsigned char lead = bytes[at];
        switch (byteKinds[lead]) {
        case ByteKind::plain:
            ++at;
            continue;
        case ByteKind::lineFeed:
            ++lines;
            ++at;
            continue;
        case ByteKind::stop:
            return at;
        case ByteKind::multibyte:
            break;
        }
        // Most of the country's text: three bytes, none of them special.
        if (((lead >= 0xE1 && lead <= 0xEC) || lead == 0xEE) && size - at >= 3 && follows(at + 1) &&
            follows(at + 2)) {
            at += 3;
            continue;
        }
        const std::size_t length = sequenceLength(lead);
        if (length == 0)
            return at;
        const std::size_t present = std::min(length, size - at);
        std::uint32_t point = lead & (0x7F >> length);
        for (std::size_t k = 1; k < present; ++k) {
            if (!follows(at + k))
                return at;
            point = point << 6 | (bytes[at + k] & 0x3F);
        }
        if (present < length) {
            cut = true;
            return at;
        }
        constexpr std::uint32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (point < shortest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF) ||
            point == 0xFFFE || point == 0xFFFF)
            return at;
        at += length;
    }
    return at;
}

} // namespace

struct FgdMeshReader::State {
    XML_Parser parser = nullptr;
    std::optional<FgdName> fromName;
    std::string error;

    // The tuple list is most of a document, and plain text in every file
    // as published: its bytes are taken straight from the input, without
    // the parser, for as long as they are text the parser would pass on
    // unchanged. At anything else (the end tag, a reference, a comment, a
    // byte that is not well-formed) a new parser takes over, given the
    // start tags of the elements open at that point.
    enum class Input { parser, plainTuples };
    Input input = Input::parser;
    bool plainAllowed = true;              // the document is in UTF-8
    std::vector<std::string> openElements; // qualified names, outermost first
    std::string held;                      // what the parser held after the list's start tag
    std::string cutSequence;               // a UTF-8 sequence cut by the end of a piece
    XML_Size contentLine = 0;              // the line where the list's text starts
    XML_Size plainLines = 0;               // line ends in the text taken plainly
    XML_Size lineOffset = 0;               // the present parser's line 1 in the document
    bool replaying = false;                // the start tags given to a new parser

    int depth = 0;
    Field field = Field::none;
    int fieldDepth = 0;
    std::string fieldText;

    // What the header said, as text until finish() checks it.
    std::optional<std::string> lowerCorner, upperCorner, low, high, startPoint, meshText, typeText;
    std::optional<std::string> order;
    bool sawTuples = false;

    FgdMesh mesh;
    std::size_t capacity = 0; // points of the mesh
    std::size_t tupleCount = 0;
    std::string tupleText; // pieces of the tuple list not yet parsed

    bool fail(std::string why)
    {
        if (error.empty())
            error = std::move(why);
        if (input == Input::parser)
            XML_StopParser(parser, XML_FALSE);
        return false;
    }

    void failXml()
    {
        fail("bad XML at line " + std::to_string(lineOffset + XML_GetCurrentLineNumber(parser)) + ": " +
             XML_ErrorString(XML_GetErrorCode(parser)));
    }

    static XML_Parser makeParser(State& state)
    {
        const XML_Parser parser = XML_ParserCreate(nullptr);
        if (!parser)
            throw std::bad_alloc();
        XML_SetUserData(parser, &state);
        XML_SetElementHandler(parser, onStart, onEnd);
        XML_SetCharacterDataHandler(parser, onText);
        XML_SetStartDoctypeDeclHandler(parser, onDoctype);
        XML_SetXmlDeclHandler(parser, onDeclaration);
        return parser;
    }

    // Called at the tuple list's start tag: from its end on, the input is
    // taken plainly. The parser stops; what it held after the tag is kept.
    void startPlainTuples()
    {
        int offset = 0, size = 0;
        const char* const context = XML_GetInputContext(parser, &offset, &size);
        const int count = XML_GetCurrentByteCount(parser);
        if (!plainAllowed || !context || count <= 0 || offset < 0 || count > size - offset)
            return;
        const std::string_view tag(context + offset, static_cast<std::size_t>(count));
        if (!tag.starts_with('<') || tag.ends_with("/>") || tag.find('\0') != std::string_view::npos)
            return; // an empty list, or not UTF-8 after all
        contentLine = lineOffset + XML_GetCurrentLineNumber(parser) +
                      static_cast<XML_Size>(std::count(tag.begin(), tag.end(), '\n'));
        held.assign(context + offset + count, static_cast<std::size_t>(size - offset - count));
        input = Input::plainTuples;
        XML_StopParser(parser, XML_FALSE);
    }

    // Takes the plain text at the start of `bytes` as tuples; returns what
    // is left for a new parser, which has taken over if anything is left.
    std::string_view takePlainTuples(std::string_view bytes)
    {
        bool cut = false;
        if (!cutSequence.empty()) {
            const std::size_t length = sequenceLength(static_cast<unsigned char>(cutSequence[0]));
            const std::size_t take = std::min(length - cutSequence.size(), bytes.size());
            cutSequence.append(bytes.substr(0, take));
            bytes.remove_prefix(take);
            if (cutSequence.size() < length)
                return bytes;
            std::size_t lines = 0;
            if (plainTextLength(cutSequence, cut, lines) != length) {
                resumeParser();
                return bytes;
            }
            takeTupleText(cutSequence);
            cutSequence.clear();
        }
        std::size_t lines = 0;
        const std::size_t plain = plainTextLength(bytes, cut, lines);
        plainLines += static_cast<XML_Size>(lines);
        for (std::size_t at = 0; at < plain && error.empty(); at += tupleBatch)
            takeTupleText(bytes.substr(at, std::min(tupleBatch, plain - at)));
        if (!error.empty())
            return {};
        bytes.remove_prefix(plain);
        if (cut) {
            cutSequence.assign(bytes);
            return {};
        }
        if (!bytes.empty())
            resumeParser();
        return bytes;
    }

    // A new parser, inside the elements open at the tuple list, takes over.
    void resumeParser()
    {
        XML_ParserFree(parser);
        parser = nullptr;
        parser = makeParser(*this);
        input = Input::parser;
        std::string starts;
        for (const std::string& name : openElements)
            starts += '<' + name + '>';
        replaying = true;
        const bool started = XML_Parse(parser, starts.data(), static_cast<int>(starts.size()), XML_FALSE);
        replaying = false;
        lineOffset = contentLine + plainLines - 1;
        if (!started)
            failXml();
        const std::string cut = std::move(cutSequence);
        cutSequence.clear();
        if (error.empty() && !cut.empty() &&
            XML_Parse(parser, cut.data(), static_cast<int>(cut.size()), XML_FALSE) != XML_STATUS_OK)
            failXml();
    }

    // The code of the header's mesh element: PPQQpq, with rs for 5 m.
    std::optional<MeshCode> headerCode() const
    {
        if (!meshText)
            return std::nullopt;
        Cursor cursor(*meshText);
        cursor.skipSpace();
        const std::optional<int> cell = cursor.digits(4);
        const std::optional<int> sheet = cursor.digits(2);
        const std::optional<int> tertiary = cursor.digits(2);
        cursor.skipSpace();
        if (!cell || !sheet || !cursor.atEnd() || !inRange(*sheet / 10, 0, 7) || !inRange(*sheet % 10, 0, 7))
            return std::nullopt;
        MeshCode code{*cell / 100, *cell % 100, *sheet / 10, *sheet % 10};
        if (tertiary)
            code.r = *tertiary / 10, code.s = *tertiary % 10;
        return code;
    }

    // The resolution and place from the name, else from the header so far:
    // its type, or the length of its mesh code.
    std::optional<FgdName> identity() const
    {
        if (fromName)
            return fromName;
        const std::optional<MeshCode> code = headerCode();
        if (!code)
            return std::nullopt;
        FgdName name;
        name.code = *code;
        name.resolution =
            typeResolution().value_or(code->r >= 0 ? FgdResolution::metres5 : FgdResolution::metres10);
        if (name.resolution == FgdResolution::metres10)
            name.code.r = name.code.s = -1;
        else if (code->r < 0)
            return std::nullopt;
        return name;
    }

    // The type element names the resolution: "10mメッシュ（標高）", "5mメッシュ（標高）".
    std::optional<FgdResolution> typeResolution() const
    {
        if (!typeText)
            return std::nullopt;
        Cursor cursor(*typeText);
        cursor.skipSpace();
        if (cursor.skip("10M"))
            return FgdResolution::metres10;
        if (cursor.skip("5M"))
            return FgdResolution::metres5;
        return std::nullopt;
    }

    bool startTuples()
    {
        if (sawTuples)
            return fail("more than one tuple list");
        sawTuples = true;
        const std::optional<FgdName> name = identity();
        if (!name)
            return fail("no mesh code");
        const FgdMeshShape shape = fgdMeshShape(name->resolution);
        mesh.cols = shape.cols;
        mesh.rows = shape.rows;
        capacity = static_cast<std::size_t>(shape.cols) * shape.rows;
        mesh.values.assign(capacity, fgdNoValue);
        mesh.classes.assign(capacity, FgdClass::noData);
        tupleText.reserve(tupleBatch + longestTuple);
        return true;
    }

    bool failAtTuple(const char* what)
    {
        return fail("tuple " + std::to_string(tupleCount + 1) + " " + what);
    }

    // The kind of the tuple at `text` and where its value starts; a kind
    // not published counts as other.
    bool tupleClass(const char*& text, const char* end, FgdClass& kind)
    {
        const std::string_view rest(text, static_cast<std::size_t>(end - text));
        for (const NamedClass& named : namedClasses) {
            if (rest.size() > named.name.size() && rest[named.name.size()] == ',' &&
                rest.starts_with(named.name)) {
                kind = named.kind;
                text += named.name.size() + 1;
                return true;
            }
        }
        std::size_t comma = 0;
        while (comma < rest.size() && rest[comma] != ',' && !isSpace(rest[comma]))
            ++comma;
        if (comma == rest.size() || rest[comma] != ',')
            return failAtTuple("has no value");
        kind = FgdClass::other;
        text += comma + 1;
        return true;
    }

    // Parses the tuples of [text, end), which ends in white space.
    bool parseTuples(const char* text, const char* end)
    {
        for (;;) {
            while (text != end && isSpace(*text))
                ++text;
            if (text == end)
                return true;
            if (tupleCount == capacity)
                return fail("more tuples than points");
            const char* const start = text;
            FgdClass kind{};
            if (!tupleClass(text, end, kind))
                return false;
            float value = 0;
            const auto [next, ec] = std::from_chars(text, end, value);
            if (next == text || !isSpace(*next) ||
                (ec != std::errc() && ec != std::errc::result_out_of_range))
                return failAtTuple("has no number");
            if (static_cast<std::size_t>(next - start) > longestTuple)
                return failAtTuple("is too long");
            if (ec != std::errc() || !(value >= fgdLowest && value <= fgdHighest))
                value = fgdNoValue;
            mesh.values[tupleCount] = value;
            mesh.classes[tupleCount] = kind;
            ++tupleCount;
            text = next;
        }
    }

    // Parses the complete tuples taken so far (all of them at the end of the
    // list); a tuple cut by the end of the text waits for the rest.
    void parseTupleText(bool last)
    {
        if (last)
            tupleText += '\n';
        std::size_t complete = tupleText.size();
        while (complete > 0 && !isSpace(tupleText[complete - 1]))
            --complete;
        if (tupleText.size() - complete > longestTuple) {
            failAtTuple("is too long");
            return;
        }
        if (!parseTuples(tupleText.data(), tupleText.data() + complete))
            return;
        tupleText.erase(0, complete);
    }

    // Tuples are separated by white space; the text comes in pieces, which
    // are parsed a batch at a time.
    void takeTupleText(std::string_view piece)
    {
        tupleText.append(piece);
        if (tupleText.size() >= tupleBatch)
            parseTupleText(false);
    }

    void endField()
    {
        std::optional<std::string>* target = nullptr;
        switch (field) {
        case Field::tuples:
            parseTupleText(true);
            break;
        case Field::lowerCorner:
            target = &lowerCorner;
            break;
        case Field::upperCorner:
            target = &upperCorner;
            break;
        case Field::low:
            target = &low;
            break;
        case Field::high:
            target = &high;
            break;
        case Field::startPoint:
            target = &startPoint;
            break;
        case Field::mesh:
            target = &meshText;
            break;
        case Field::type:
            target = &typeText;
            break;
        case Field::none:
            break;
        }
        if (target)
            *target = std::move(fieldText);
        fieldText.clear();
        field = Field::none;
    }

    static void XMLCALL onStart(void* user, const XML_Char* name, const XML_Char** attributes)
    {
        State& state = *static_cast<State*>(user);
        if (state.replaying || state.input != Input::parser)
            return;
        ++state.depth;
        state.openElements.emplace_back(name);
        if (state.field != Field::none || !state.error.empty())
            return;
        const std::string_view local = localName(name);
        if (local == "sequenceRule") {
            for (const XML_Char** attribute = attributes; attribute[0]; attribute += 2)
                if (std::string_view(attribute[0]) == "order")
                    state.order = attribute[1];
            return;
        }
        for (const NamedField& named : namedFields) {
            if (named.name == local) {
                state.field = named.field;
                state.fieldDepth = state.depth;
                if (named.field == Field::tuples && state.startTuples())
                    state.startPlainTuples();
                return;
            }
        }
    }

    static void XMLCALL onEnd(void* user, const XML_Char*)
    {
        State& state = *static_cast<State*>(user);
        if (state.input != Input::parser)
            return;
        if (state.field != Field::none && state.depth == state.fieldDepth && state.error.empty())
            state.endField();
        --state.depth;
        if (!state.openElements.empty())
            state.openElements.pop_back();
    }

    static void XMLCALL onText(void* user, const XML_Char* text, int length)
    {
        State& state = *static_cast<State*>(user);
        const std::string_view piece(text, static_cast<std::size_t>(length));
        if (!state.error.empty() || state.input != Input::parser) // callbacks may follow a stop
            return;
        if (state.field == Field::tuples) {
            state.takeTupleText(piece);
        } else if (state.field != Field::none) {
            if (state.fieldText.size() + piece.size() > longestFieldText)
                state.fail("an overlong header field");
            else
                state.fieldText.append(piece);
        }
    }

    // Only a document in UTF-8 is taken plainly.
    static void XMLCALL onDeclaration(void* user, const XML_Char*, const XML_Char* encoding, int)
    {
        if (encoding && !equalIgnoringCase(encoding, "UTF-8"))
            static_cast<State*>(user)->plainAllowed = false;
    }

    // A document type declaration could define entities; no DEM file has one.
    static void XMLCALL onDoctype(void* user, const XML_Char*, const XML_Char*, const XML_Char*, int)
    {
        static_cast<State*>(user)->fail("a document type declaration");
    }

    // The header's checks; the tuples move behind the start point.
    std::optional<FgdMesh> check()
    {
        const std::optional<FgdName> name = identity();
        if (!name)
            return std::nullopt;
        const FgdMeshShape shape = fgdMeshShape(name->resolution);
        if (const std::optional<MeshCode> header = headerCode(); fromName && header) {
            MeshCode named = name->code;
            if (header->r < 0) // a sheet's code for a tertiary mesh
                named.r = named.s = -1;
            if (*header != named) {
                error = "the mesh code differs from the file name";
                return std::nullopt;
            }
        }
        if (const std::optional<FgdResolution> typed = typeResolution();
            typed && *typed != name->resolution) {
            error = "the mesh type differs from the file name";
            return std::nullopt;
        }
        if (!sawTuples) {
            error = "no tuple list";
            return std::nullopt;
        }
        if (!lowerCorner || !upperCorner) {
            error = "no envelope";
            return std::nullopt;
        }
        const auto lower = numberPair<double>(*lowerCorner);
        const auto upper = numberPair<double>(*upperCorner);
        const double south = meshSouth(name->code), west = meshWest(name->code);
        const double tolerance = shape.height / shape.rows / 2; // half a point
        const auto near = [tolerance](double a, double b) { return std::abs(a - b) <= tolerance; };
        if (!lower || !upper || !near((*lower)[0], south) || !near((*lower)[1], west) ||
            !near((*upper)[0], south + shape.height) || !near((*upper)[1], west + shape.width)) {
            error = "a corner outside its mesh";
            return std::nullopt;
        }
        if (low && numberPair<int>(*low) != std::array<int, 2>{0, 0}) {
            error = "the grid does not start at 0 0";
            return std::nullopt;
        }
        if (high && numberPair<int>(*high) != std::array<int, 2>{shape.cols - 1, shape.rows - 1}) {
            error = "the grid size differs from the mesh's";
            return std::nullopt;
        }
        if (order && *order != "+x-y") {
            error = "an unknown point order";
            return std::nullopt;
        }
        std::size_t start = 0;
        if (startPoint) {
            const auto point = numberPair<int>(*startPoint);
            if (!point || !inRange((*point)[0], 0, shape.cols - 1) ||
                !inRange((*point)[1], 0, shape.rows - 1)) {
                error = "a start point outside the grid";
                return std::nullopt;
            }
            start = static_cast<std::size_t>((*point)[1]) * shape.cols + (*point)[0];
        }
        if (start + tupleCount > capacity) {
            error = "more tuples than points after the start point";
            return std::nullopt;
        }
        if (start > 0) {
            std::copy_backward(mesh.values.begin(), mesh.values.begin() + tupleCount,
                               mesh.values.begin() + start + tupleCount);
            std::copy_backward(mesh.classes.begin(), mesh.classes.begin() + tupleCount,
                               mesh.classes.begin() + start + tupleCount);
            std::fill_n(mesh.values.begin(), start, fgdNoValue);
            std::fill_n(mesh.classes.begin(), start, FgdClass::noData);
        }
        mesh.name = *name;
        return std::move(mesh);
    }
};

FgdMeshReader::FgdMeshReader(std::string_view fileName) : state_(std::make_unique<State>())
{
    state_->fromName = parseFgdName(fileName);
    if (state_->fromName && state_->fromName->resolution == FgdResolution::metres5 &&
        state_->fromName->code.r < 0)
        state_->fromName.reset(); // the name of a sheet's archive, not of a mesh
    state_->parser = State::makeParser(*state_);
}

FgdMeshReader::~FgdMeshReader()
{
    XML_ParserFree(state_->parser);
}

bool FgdMeshReader::feed(std::string_view bytes)
{
    State& state = *state_;
    constexpr std::size_t largestPiece = std::numeric_limits<int>::max() / 2;
    while (!bytes.empty() && state.error.empty()) {
        if (state.input == State::Input::plainTuples) {
            bytes = state.takePlainTuples(bytes);
            continue;
        }
        const std::size_t piece = std::min(bytes.size(), largestPiece);
        const bool parsed =
            XML_Parse(state.parser, bytes.data(), static_cast<int>(piece), XML_FALSE) == XML_STATUS_OK;
        bytes.remove_prefix(piece);
        if (state.input == State::Input::plainTuples) {
            // Everything given so far is either parsed or held.
            const std::string held = std::move(state.held);
            state.held.clear();
            feed(held);
        } else if (!parsed) {
            state.failXml();
        }
    }
    return state.error.empty();
}

bool FgdMeshReader::reachedTuples() const
{
    return state_->sawTuples;
}

std::optional<FgdName> FgdMeshReader::identity() const
{
    return state_->identity();
}

std::optional<FgdMesh> FgdMeshReader::finish()
{
    State& state = *state_;
    if (state.error.empty() && state.input == State::Input::plainTuples)
        state.resumeParser(); // the document ends inside the list
    if (state.error.empty() && XML_Parse(state.parser, "", 0, XML_TRUE) != XML_STATUS_OK)
        state.failXml();
    if (!state.error.empty())
        return std::nullopt;
    std::optional<FgdMesh> mesh = state.check();
    if (!mesh && state.error.empty())
        state.error = "no mesh code";
    return mesh;
}

const std::string& FgdMeshReader::error() const
{
    return state_->error;
}

std::optional<FgdMesh> parseFgdMesh(std::string_view fileName, std::string_view xml, std::string* error)
{
    FgdMeshReader reader(fileName);
    reader.feed(xml);
    std::optional<FgdMesh> mesh = reader.finish();
    if (error)
        *error = reader.error();
    return mesh;
}

} // namespace orvex
