#include "settings/colour_file.h"

#include "core/file_start.h"
#include "core/saved_file.h"
#include "core/text_fields.h"

#include "common/shared_files.h"

#include <limits>

namespace skyloom {

static_assert(kBandCount <= common::colourFileCapacity, "the viewer reads every band");

QByteArray colourFileText(const BandColourTable& colours)
{
    QByteArray text =
        formatNumber(common::fileVersionMajor) + formatNumber(common::fileVersionMinor) + "\r\n";
    text += formatNumber(kBandCount) + "\r\n";
    for (const auto& band : colours)
        text += formatNumber(band[0]) + formatNumber(band[1]) + formatNumber(band[2]) + "\r\n";
    return text;
}

void readColourText(const QByteArray& text, BandColourTable& colours)
{
    FieldReader reader(text);
    const std::optional<int> major = reader.readInt32();
    const std::optional<int> minor = major ? reader.readInt32() : std::nullopt;
    if (major != common::fileVersionMajor || minor != common::fileVersionMinor)
        return;
    if (reader.readInt32() != kBandCount)
        return;
    for (auto& band : colours) {
        for (std::int16_t& component : band) {
            const auto value = reader.readInteger(std::numeric_limits<std::int16_t>::min(),
                                                  std::numeric_limits<std::int16_t>::max());
            if (!value)
                return;
            component = static_cast<std::int16_t>(*value);
        }
    }
}

void ReadColor(MapState& state)
{
    ResetColor(state);
    if (const std::optional<FileStart> text =
            readFileStart(QString::fromLatin1(common::colourFileName), qint64{common::longestSettingsFile}))
        readColourText(text->bytes, state.bandColor);
}

SaveResult WriteColor(const MapState& state)
{
    return writeFileBesideAndRename(QString::fromLatin1(common::colourFileName),
                                    colourFileText(state.bandColor));
}

} // namespace skyloom
