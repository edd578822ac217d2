#include "core/sheet_names.h"

#include "core/map_cells.h"
#include "core/map_state.h"
#include "core/messages.h"
#include "core/shift_jis.h"

#include <QFile>
#include <QFileInfo>

namespace skyloom {

SheetNameTable::SheetNameTable(int cols, int rows)
    : cols_(cols), rows_(rows), names_(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows))
{
}

bool SheetNameTable::contains(std::int64_t x, std::int64_t y) const
{
    return x >= 0 && x < cols_ && y >= 0 && y < rows_;
}

const QString& SheetNameTable::at(int x, int y) const
{
    return names_[static_cast<std::size_t>(y) * static_cast<std::size_t>(cols_) +
                  static_cast<std::size_t>(x)];
}

void SheetNameTable::set(int x, int y, QString name)
{
    names_[static_cast<std::size_t>(y) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(x)] =
        std::move(name);
}

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

QStringView trimmed(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

std::optional<std::int64_t> parseCode(QStringView field)
{
    field = trimmed(field);
    if (field.isEmpty())
        return std::nullopt;
    bool ok = false;
    // QStringView::toLongLong always reads the C locale's digits.
    const qlonglong code = field.toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return static_cast<std::int64_t>(code);
}

QString parseName(QStringView rest)
{
    while (!rest.isEmpty() && (rest.front() == u' ' || rest.front() == u'\t'))
        rest = rest.sliced(1);
    if (!rest.isEmpty() && rest.front() == u'"') {
        rest = rest.sliced(1);
        const qsizetype close = rest.indexOf(u'"');
        // An unclosed quote runs to the end of the line, not into the next.
        if (close < 0)
            return trimmed(rest).toString();
        return rest.first(close).toString();
    }
    const qsizetype comma = rest.indexOf(u',');
    return trimmed(comma < 0 ? rest : rest.first(comma)).toString();
}

void storeEntry(const IndexEntry& entry, Mesh mesh, SheetNameTable& table)
{
    const std::optional<MapCell> cell =
        mesh == Mesh::gsi250 ? cellOfCode250(entry.code) : cellOfCode50(entry.code);
    if (cell && table.contains(cell->x, cell->y))
        table.set(cell->x, cell->y, entry.name);
}

} // namespace

std::optional<IndexEntry> parseIndexLine(QStringView line)
{
    const qsizetype comma = line.indexOf(u',');
    const std::optional<std::int64_t> code = parseCode(comma < 0 ? line : line.first(comma));
    if (!code)
        return std::nullopt;
    IndexEntry entry;
    entry.code = *code;
    if (comma >= 0)
        entry.name = parseName(line.sliced(comma + 1));
    return entry;
}

QString indexPath(const QString& dataDir)
{
    QString dir = dataDir;
    dir.replace(u'\\', u'/');
    return dir + QStringLiteral("/ZUMEI.CSV");
}

namespace {

// The start of the next line, at most kLongestIndexLine bytes of it; the rest
// of a longer line is passed over through `spare`, without new memory. False
// on a read error.
bool readLineStart(QFile& file, QByteArray& line, QByteArray& spare)
{
    line = file.readLine(kLongestIndexLine + 1);
    if (file.error() != QFileDevice::NoError)
        return false;
    bool ended = line.endsWith('\n');
    spare.resize(kLongestIndexLine + 1);
    while (!ended && !file.atEnd() && file.pos() <= kLongestIndexFile) {
        const qint64 got = file.readLine(spare.data(), spare.size());
        if (got < 0)
            return false;
        ended = got > 0 && spare[got - 1] == '\n';
    }
    return true;
}

} // namespace

bool readIndexFile(const QString& path, Mesh mesh, SheetNameTable& table)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Shift-JIS trail bytes never take the value of LF, so the raw bytes can
    // be cut into lines before decoding.
    bool header = true;
    QByteArray bytes;
    QByteArray spare;
    while (!file.atEnd()) {
        if (file.pos() > kLongestIndexFile)
            return false; // not an index: the names read so far stay
        if (!readLineStart(file, bytes, spare))
            return false;
        if (header) {
            header = false;
            continue;
        }
        if (const std::optional<IndexEntry> entry = parseIndexLine(decodeShiftJis(bytes)))
            storeEntry(*entry, mesh, table);
    }
    return file.error() == QFileDevice::NoError;
}

void fillWithCodes(Mesh mesh, SheetNameTable& table)
{
    for (int y = 0; y < table.rows(); ++y)
        for (int x = 0; x < table.cols(); ++x)
            table.set(x, y, QString::number(MeshCode(mesh, x, y)));
}

SheetNameTable blockNameTable()
{
    SheetNameTable table(kColsBlock, kRowsBlock);
    const int south = kSouthLatitudeCode * 2 / 3; // 26 N
    for (int y = 0; y < kRowsBlock; y += kBlocksPerDegree)
        for (int x = 0; x < kColsBlock; x += kBlocksPerDegree)
            table.set(x, y,
                      QStringLiteral("N%1E%2")
                          .arg(south + y / kBlocksPerDegree, 2, 10, QLatin1Char('0'))
                          .arg(int(kWestLongitude) + x / kBlocksPerDegree, 3, 10, QLatin1Char('0')));
    return table;
}

void ReadMapName(MapState& state)
{
    const QString path50 = indexPath(state.dataDir50);
    const QString path250 = indexPath(state.dataDir250);
    const bool exists50 = QFileInfo::exists(path50);
    const bool exists250 = QFileInfo::exists(path250);
    if (!exists50 && !exists250)
        showMessage(
            {QStringLiteral("ZUMEI.CSVファイルがありません。"), MessageIcon::Warning, MessageButtons::Ok});

    // A read error keeps the names read so far; the other mesh goes on.
    if (exists50)
        readIndexFile(path50, Mesh::gsi50, state.sheetName50);
    else
        fillWithCodes(Mesh::gsi50, state.sheetName50);

    if (exists250)
        readIndexFile(path250, Mesh::gsi250, state.sheetName250);
    else
        fillWithCodes(Mesh::gsi250, state.sheetName250);
}

} // namespace skyloom
