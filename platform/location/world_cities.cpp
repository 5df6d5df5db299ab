#include "location/world_cities.h"

#include <array>
#include <cmath>

namespace location {

namespace {

constexpr std::array<WorldCity, 96> kCities{{
    {"Stuttgart", "Germany", {48.7758, 9.1829}},
    {"Tübingen", "Germany", {48.5216, 9.0576}},
    {"Reutlingen", "Germany", {48.4914, 9.2043}},
    {"Esslingen am Neckar", "Germany", {48.7406, 9.3108}},
    {"Ludwigsburg", "Germany", {48.8975, 9.1919}},
    {"Karlsruhe", "Germany", {49.0069, 8.4037}},
    {"Heidelberg", "Germany", {49.3988, 8.6724}},
    {"Mannheim", "Germany", {49.4875, 8.4660}},
    {"Frankfurt am Main", "Germany", {50.1109, 8.6821}},
    {"Munich", "Germany", {48.1351, 11.5820}},
    {"Nuremberg", "Germany", {49.4521, 11.0767}},
    {"Ulm", "Germany", {48.4011, 9.9876}},
    {"Freiburg im Breisgau", "Germany", {47.9990, 7.8421}},
    {"Cologne", "Germany", {50.9375, 6.9603}},
    {"Düsseldorf", "Germany", {51.2277, 6.7735}},
    {"Hamburg", "Germany", {53.5511, 9.9937}},
    {"Berlin", "Germany", {52.5200, 13.4050}},
    {"Leipzig", "Germany", {51.3397, 12.3731}},
    {"Dresden", "Germany", {51.0504, 13.7373}},
    {"Hanover", "Germany", {52.3759, 9.7320}},
    {"Bremen", "Germany", {53.0793, 8.8017}},
    {"Zurich", "Switzerland", {47.3769, 8.5417}},
    {"Geneva", "Switzerland", {46.2044, 6.1432}},
    {"Bern", "Switzerland", {46.9480, 7.4474}},
    {"Vienna", "Austria", {48.2082, 16.3738}},
    {"Salzburg", "Austria", {47.8095, 13.0550}},
    {"Paris", "France", {48.8566, 2.3522}},
    {"Lyon", "France", {45.7640, 4.8357}},
    {"Marseille", "France", {43.2965, 5.3698}},
    {"Strasbourg", "France", {48.5734, 7.7521}},
    {"Toulouse", "France", {43.6047, 1.4442}},
    {"Bordeaux", "France", {44.8378, -0.5792}},
    {"Nice", "France", {43.7102, 7.2620}},
    {"London", "United Kingdom", {51.5074, -0.1278}},
    {"Manchester", "United Kingdom", {53.4808, -2.2426}},
    {"Edinburgh", "United Kingdom", {55.9533, -3.1883}},
    {"Dublin", "Ireland", {53.3498, -6.2603}},
    {"Amsterdam", "Netherlands", {52.3676, 4.9041}},
    {"Rotterdam", "Netherlands", {51.9244, 4.4777}},
    {"Brussels", "Belgium", {50.8503, 4.3517}},
    {"Luxembourg", "Luxembourg", {49.6116, 6.1319}},
    {"Copenhagen", "Denmark", {55.6761, 12.5683}},
    {"Oslo", "Norway", {59.9139, 10.7522}},
    {"Stockholm", "Sweden", {59.3293, 18.0686}},
    {"Helsinki", "Finland", {60.1699, 24.9384}},
    {"Reykjavík", "Iceland", {64.1466, -21.9426}},
    {"Warsaw", "Poland", {52.2297, 21.0122}},
    {"Kraków", "Poland", {50.0647, 19.9450}},
    {"Prague", "Czechia", {50.0755, 14.4378}},
    {"Budapest", "Hungary", {47.4979, 19.0402}},
    {"Bucharest", "Romania", {44.4268, 26.1025}},
    {"Athens", "Greece", {37.9838, 23.7275}},
    {"Istanbul", "Türkiye", {41.0082, 28.9784}},
    {"Rome", "Italy", {41.9028, 12.4964}},
    {"Milan", "Italy", {45.4642, 9.1900}},
    {"Naples", "Italy", {40.8518, 14.2681}},
    {"Madrid", "Spain", {40.4168, -3.7038}},
    {"Barcelona", "Spain", {41.3851, 2.1734}},
    {"Seville", "Spain", {37.3891, -5.9845}},
    {"Valencia", "Spain", {39.4699, -0.3763}},
    {"Lisbon", "Portugal", {38.7223, -9.1393}},
    {"Porto", "Portugal", {41.1579, -8.6291}},
    {"Moscow", "Russia", {55.7558, 37.6173}},
    {"Kyiv", "Ukraine", {50.4501, 30.5234}},
    {"Cairo", "Egypt", {30.0444, 31.2357}},
    {"Lagos", "Nigeria", {6.5244, 3.3792}},
    {"Nairobi", "Kenya", {-1.2921, 36.8219}},
    {"Johannesburg", "South Africa", {-26.2041, 28.0473}},
    {"Cape Town", "South Africa", {-33.9249, 18.4241}},
    {"Casablanca", "Morocco", {33.5731, -7.5898}},
    {"Dubai", "United Arab Emirates", {25.2048, 55.2708}},
    {"Tel Aviv", "Israel", {32.0853, 34.7818}},
    {"Mumbai", "India", {19.0760, 72.8777}},
    {"Delhi", "India", {28.7041, 77.1025}},
    {"Bengaluru", "India", {12.9716, 77.5946}},
    {"Bangkok", "Thailand", {13.7563, 100.5018}},
    {"Singapore", "Singapore", {1.3521, 103.8198}},
    {"Jakarta", "Indonesia", {-6.2088, 106.8456}},
    {"Hong Kong", "China", {22.3193, 114.1694}},
    {"Shanghai", "China", {31.2304, 121.4737}},
    {"Beijing", "China", {39.9042, 116.4074}},
    {"Seoul", "South Korea", {37.5665, 126.9780}},
    {"Tokyo", "Japan", {35.6762, 139.6503}},
    {"Osaka", "Japan", {34.6937, 135.5023}},
    {"Sydney", "Australia", {-33.8688, 151.2093}},
    {"Melbourne", "Australia", {-37.8136, 144.9631}},
    {"Auckland", "New Zealand", {-36.8485, 174.7633}},
    {"New York", "United States", {40.7128, -74.0060}},
    {"Boston", "United States", {42.3601, -71.0589}},
    {"Chicago", "United States", {41.8781, -87.6298}},
    {"San Francisco", "United States", {37.7749, -122.4194}},
    {"Cupertino", "United States", {37.3230, -122.0322}},
    {"Los Angeles", "United States", {34.0522, -118.2437}},
    {"Toronto", "Canada", {43.6532, -79.3832}},
    {"Mexico City", "Mexico", {19.4326, -99.1332}},
    {"São Paulo", "Brazil", {-23.5505, -46.6333}},
}};

} // namespace

std::span<const WorldCity> worldCities() { return kCities; }

std::optional<WorldCity> nearestCity(CLLocationCoordinate2D where, CLLocationDistance within)
{
    if (!std::isfinite(where.latitude) || !std::isfinite(where.longitude))
        return std::nullopt;
    std::optional<WorldCity> best;
    CLLocationDistance bestDistance = within;
    for (const WorldCity& city : kCities) {
        const CLLocationDistance d = distanceBetween(where, city.coordinate);
        if (d <= bestDistance) {
            best = city;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace location
