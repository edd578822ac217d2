#pragma once
// The demo terrain's height over land: mountain ranges of ridged noise under
// envelopes placed where the real ranges are, the Fuji cone with its crater,
// the Hakone caldera, plains where the real plains are, and a coastal plain
// that rises from the shore.

namespace demo {

// Mt Fuji's highest point, on the crater rim.
constexpr double fujiSummitLat = 35.3608;
constexpr double fujiSummitLon = 138.7275;
constexpr double fujiSummitHeight = 3776.0;

// Every land point stands at least this high, so that no format mistakes it
// for sea (SRTM takes 0 m and below as sea).
constexpr double lowestLand = 1.0;

// Height in metres of a land point that lies coastKm from the nearest shore
// (distances beyond a few kilometres may be passed capped; the coastal plain
// is flat beyond coastalPlainKm). Never below lowestLand.
double landHeight(double lat, double lon, double coastKm);

// Beyond this distance from the shore the coast no longer shapes the land.
constexpr double coastalPlainKm = 3.0;

} // namespace demo
