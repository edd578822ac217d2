#include "data/fgd_mesh.h"

#include <expat.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <system_error>

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

} // namespace

struct FgdMeshReader::State {
    XML_Parser parser = nullptr;
    std::optional<FgdName> fromName;
    std::string error;

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
        XML_StopParser(parser, XML_FALSE);
        return false;
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
        ++state.depth;
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
                if (named.field == Field::tuples)
                    state.startTuples();
                return;
            }
        }
    }

    static void XMLCALL onEnd(void* user, const XML_Char*)
    {
        State& state = *static_cast<State*>(user);
        if (state.field != Field::none && state.depth == state.fieldDepth && state.error.empty())
            state.endField();
        --state.depth;
    }

    static void XMLCALL onText(void* user, const XML_Char* text, int length)
    {
        State& state = *static_cast<State*>(user);
        const std::string_view piece(text, static_cast<std::size_t>(length));
        if (!state.error.empty()) // callbacks may follow a stop
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
    state_->parser = XML_ParserCreate(nullptr);
    if (!state_->parser)
        throw std::bad_alloc();
    XML_SetUserData(state_->parser, state_.get());
    XML_SetElementHandler(state_->parser, State::onStart, State::onEnd);
    XML_SetCharacterDataHandler(state_->parser, State::onText);
    XML_SetStartDoctypeDeclHandler(state_->parser, State::onDoctype);
}

FgdMeshReader::~FgdMeshReader()
{
    XML_ParserFree(state_->parser);
}

bool FgdMeshReader::feed(std::string_view bytes)
{
    State& state = *state_;
    if (!state.error.empty())
        return false;
    constexpr std::size_t largestPiece = std::numeric_limits<int>::max() / 2;
    while (!bytes.empty()) {
        const std::size_t piece = std::min(bytes.size(), largestPiece);
        if (XML_Parse(state.parser, bytes.data(), static_cast<int>(piece), XML_FALSE) != XML_STATUS_OK) {
            if (state.error.empty())
                state.error = "bad XML at line " + std::to_string(XML_GetCurrentLineNumber(state.parser)) +
                              ": " + XML_ErrorString(XML_GetErrorCode(state.parser));
            return false;
        }
        bytes.remove_prefix(piece);
    }
    return true;
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
    if (state.error.empty() && XML_Parse(state.parser, "", 0, XML_TRUE) != XML_STATUS_OK &&
        state.error.empty())
        state.error = "bad XML at line " + std::to_string(XML_GetCurrentLineNumber(state.parser)) + ": " +
                      XML_ErrorString(XML_GetErrorCode(state.parser));
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
