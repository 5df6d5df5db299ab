#include "weather/condition_pictures.h"

#include "weather/condition_codes.h"

#include <cmath>
#include <numbers>

namespace weather {

namespace {

constexpr double kPi = std::numbers::pi;

struct Box {
    double x, y, w, h;
};

// Everything is white; secondary elements (a sun behind a cloud, haze lines) are fainter.
class Painter {
public:
    explicit Painter(cairo_t* cr) : cr_(cr)
    {
        cairo_save(cr_);
        cairo_new_path(cr_); // a current point left by the caller must not join the first shape
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
        white();
    }
    ~Painter() { cairo_restore(cr_); }

    void white(double alpha = 1) { cairo_set_source_rgba(cr_, 1, 1, 1, alpha); }

    void sun(double cx, double cy, double r, bool rays = true)
    {
        disc(cx, cy, r);
        if (!rays)
            return;
        cairo_set_line_width(cr_, 1.4);
        for (int i = 0; i < 8; ++i) {
            const double a = i * kPi / 4;
            cairo_move_to(cr_, cx + std::cos(a) * (r + 1.8), cy + std::sin(a) * (r + 1.8));
            cairo_line_to(cr_, cx + std::cos(a) * (r + 4.2), cy + std::sin(a) * (r + 4.2));
        }
        cairo_stroke(cr_);
    }

    // A crescent: the disc with a shifted disc taken out of it, drawn apart so that the cut
    // does not erase what lies beneath.
    void moon(double cx, double cy, double r)
    {
        cairo_push_group(cr_);
        white();
        disc(cx, cy, r);
        cairo_set_operator(cr_, CAIRO_OPERATOR_DEST_OUT);
        disc(cx + r * 0.55, cy - r * 0.35, r * 0.85);
        cairo_pop_group_to_source(cr_);
        cairo_paint(cr_);
        white();
    }

    void star(double cx, double cy, double r)
    {
        cairo_move_to(cr_, cx, cy - r);
        cairo_line_to(cr_, cx + r * 0.3, cy - r * 0.3);
        cairo_line_to(cr_, cx + r, cy);
        cairo_line_to(cr_, cx + r * 0.3, cy + r * 0.3);
        cairo_line_to(cr_, cx, cy + r);
        cairo_line_to(cr_, cx - r * 0.3, cy + r * 0.3);
        cairo_line_to(cr_, cx - r, cy);
        cairo_line_to(cr_, cx - r * 0.3, cy - r * 0.3);
        cairo_close_path(cr_);
        cairo_fill(cr_);
    }

    // A cloud in front of whatever was drawn before: a thin gap is cleared around it first so
    // that white on white stays readable.
    void cloud(Box b, double alpha = 1)
    {
        cloudPath(b);
        cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
        cairo_set_line_width(cr_, 2.4);
        cairo_stroke_preserve(cr_);
        cairo_fill(cr_);
        cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
        white(alpha);
        cloudPath(b);
        cairo_fill(cr_);
        white();
    }

    void drops(int count, double top, double length, double left = 8, double spacing = 5)
    {
        cairo_set_line_width(cr_, 1.6);
        for (int i = 0; i < count; ++i) {
            const double x = left + spacing * i + 1.5;
            const double y = top + (i % 2) * 1.5;
            cairo_move_to(cr_, x, y);
            cairo_line_to(cr_, x - length * 0.35, y + length);
        }
        cairo_stroke(cr_);
    }

    void drizzle(int count, double top, double left = 8, double spacing = 5)
    {
        for (int i = 0; i < count; ++i) {
            const double x = left + spacing * i + 1.5;
            disc(x, top + 1 + (i % 2) * 2.5, 0.9);
            disc(x - 1, top + 4.5 + (i % 2) * 2.5, 0.9);
        }
    }

    void flake(double cx, double cy, double r)
    {
        cairo_set_line_width(cr_, 1.1);
        for (int i = 0; i < 3; ++i) {
            const double a = i * kPi / 3 + kPi / 2;
            cairo_move_to(cr_, cx - std::cos(a) * r, cy - std::sin(a) * r);
            cairo_line_to(cr_, cx + std::cos(a) * r, cy + std::sin(a) * r);
        }
        cairo_stroke(cr_);
    }

    void pellet(double cx, double cy) { disc(cx, cy, 1.1); }

    void hailstone(double cx, double cy)
    {
        cairo_set_line_width(cr_, 1.0);
        cairo_arc(cr_, cx, cy, 1.7, 0, 2 * kPi);
        cairo_stroke(cr_);
        disc(cx, cy, 0.7);
    }

    void bolt(double cx, double top, double scale = 1)
    {
        const double s = scale;
        cairo_move_to(cr_, cx + 1.5 * s, top);
        cairo_line_to(cr_, cx - 3.0 * s, top + 6.5 * s);
        cairo_line_to(cr_, cx - 0.2 * s, top + 6.5 * s);
        cairo_line_to(cr_, cx - 2.2 * s, top + 12 * s);
        cairo_line_to(cr_, cx + 3.8 * s, top + 4.5 * s);
        cairo_line_to(cr_, cx + 0.8 * s, top + 4.5 * s);
        cairo_line_to(cr_, cx + 3.0 * s, top);
        cairo_close_path(cr_);
        cairo_fill(cr_);
    }

    void lines(double y, double step, int count, double left, double right, double alpha = 1)
    {
        white(alpha);
        cairo_set_line_width(cr_, 1.5);
        for (int i = 0; i < count; ++i) {
            const double inset = (i % 2) * 3;
            cairo_move_to(cr_, left + inset, y + step * i);
            cairo_line_to(cr_, right - (1 - i % 2) * 3, y + step * i);
        }
        cairo_stroke(cr_);
        white();
    }

    // A gust: a straight stroke ending in a curl.
    void gust(double y, double left, double length, double curl)
    {
        cairo_set_line_width(cr_, 1.5);
        const double end = left + length;
        cairo_move_to(cr_, left, y);
        cairo_line_to(cr_, end, y);
        cairo_arc_negative(cr_, end, y - curl, curl, kPi / 2, -kPi);
        cairo_stroke(cr_);
    }

    void funnel()
    {
        cairo_set_line_width(cr_, 1.8);
        for (int i = 0; i < 7; ++i) {
            const double y = 4 + i * 3.5;
            const double half = 11 - i * 1.5;
            const double cx = 15 + std::sin(i * 0.9) * 1.5 + i * 0.3;
            cairo_move_to(cr_, cx - half, y);
            cairo_line_to(cr_, cx + half, y);
        }
        cairo_stroke(cr_);
    }

    void spiral(bool filledEye, double armWidth)
    {
        cairo_set_line_width(cr_, 2.2);
        cairo_arc(cr_, 15, 15, 4.5, 0, 2 * kPi);
        cairo_stroke(cr_);
        if (filledEye)
            disc(15, 15, 2.6);
        cairo_set_line_width(cr_, armWidth);
        cairo_move_to(cr_, 15, 10.5);
        cairo_curve_to(cr_, 16, 5, 21, 3.5, 25, 4.5);
        cairo_move_to(cr_, 15, 19.5);
        cairo_curve_to(cr_, 14, 25, 9, 26.5, 5, 25.5);
        cairo_stroke(cr_);
    }

    void thermometer(double cx, double fill)
    {
        cairo_set_line_width(cr_, 1.3);
        roundedRect({cx - 2.3, 3, 4.6, 18}, 2.3);
        cairo_stroke(cr_);
        disc(cx, 22.5, 4);
        const double top = 20 - 15 * fill;
        cairo_rectangle(cr_, cx - 1.0, top, 2.0, 21 - top);
        cairo_fill(cr_);
    }

    void dust()
    {
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 5; ++col) {
                const double x = 5 + col * 5 + (row % 2) * 2.5;
                const double y = 5 + row * 5;
                white(0.45 + 0.11 * ((row * 3 + col * 2) % 5));
                disc(x, y, 1.0 + 0.25 * ((row + col) % 3));
            }
        white();
    }

    void smoke()
    {
        cairo_set_line_width(cr_, 1.6);
        for (int i = 0; i < 3; ++i) {
            const double x = 8 + i * 7;
            cairo_move_to(cr_, x, 27);
            cairo_curve_to(cr_, x - 4, 21, x + 4, 15, x, 9 - (i % 2) * 3);
        }
        cairo_stroke(cr_);
    }

    void disc(double cx, double cy, double r)
    {
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, cx, cy, r, 0, 2 * kPi);
        cairo_fill(cr_);
    }

private:
    void roundedRect(Box b, double r)
    {
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, b.x + b.w - r, b.y + r, r, -kPi / 2, 0);
        cairo_arc(cr_, b.x + b.w - r, b.y + b.h - r, r, 0, kPi / 2);
        cairo_arc(cr_, b.x + r, b.y + b.h - r, r, kPi / 2, kPi);
        cairo_arc(cr_, b.x + r, b.y + r, r, kPi, 3 * kPi / 2);
        cairo_close_path(cr_);
    }

    // A flat base and two puffs, all wound the same way so that the fill is their union.
    void cloudPath(Box b)
    {
        roundedRect({b.x, b.y + 0.45 * b.h, b.w, 0.55 * b.h}, 0.27 * b.h);
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, b.x + 0.6 * b.w, b.y + 0.45 * b.h, 0.45 * b.h, 0, 2 * kPi);
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, b.x + 0.33 * b.w, b.y + 0.56 * b.h, 0.33 * b.h, 0, 2 * kPi);
    }

    cairo_t* cr_;
};

// Cloud boxes for the usual arrangements.
constexpr Box kCloudAlone{3, 7, 24, 15};
constexpr Box kCloudOverWeather{4, 3, 22, 13};
constexpr Box kCloudBeforeSun{8, 11, 19, 12};
constexpr Box kSmallCloudBeforeSun{12, 15, 15, 9};
constexpr Box kCloudBeforeSunOverWeather{9, 5, 18, 11};

void sunBehindCloud(Painter& p, Box cloud, bool night, bool bigCloud)
{
    if (night) {
        p.moon(11, 10, 6);
    } else {
        p.sun(11, 10, bigCloud ? 4.5 : 5);
    }
    p.cloud(cloud);
}

void scene(Painter& p, long code)
{
    switch (code) {
    case kTornado: p.funnel(); break;
    case kTropicalStorm: p.spiral(false, 1.6); break;
    case kHurricane: p.spiral(true, 2.6); break;
    case kSevereThunderstorms:
        p.cloud(kCloudOverWeather);
        p.bolt(11, 16, 1.0);
        p.bolt(20, 16, 1.0);
        break;
    case kThunderstorms:
        p.cloud(kCloudOverWeather);
        p.bolt(15, 16, 1.1);
        break;
    case kRainAndSnow:
        p.cloud(kCloudOverWeather);
        p.drops(2, 19, 5, 8, 10);
        p.flake(13.5, 23.5, 3.2);
        break;
    case kRainAndSleet:
        p.cloud(kCloudOverWeather);
        p.drops(2, 19, 5, 8, 10);
        p.pellet(13.5, 21);
        p.pellet(12.5, 26);
        break;
    case kSnowAndSleet:
        p.cloud(kCloudOverWeather);
        p.flake(10, 22.5, 3.2);
        p.flake(20, 22.5, 3.2);
        p.pellet(15, 21);
        p.pellet(14.5, 26);
        break;
    case kFreezingDrizzle:
        p.cloud(kCloudOverWeather);
        p.drizzle(2, 18.5, 8, 5);
        p.flake(21, 23, 3.2);
        break;
    case kDrizzle:
        p.cloud(kCloudOverWeather);
        p.drizzle(4, 18.5, 6.5, 5);
        break;
    case kFreezingRain:
        p.cloud(kCloudOverWeather);
        p.drops(2, 19, 6, 7, 5);
        p.flake(21, 23, 3.2);
        break;
    case kShowers:
        p.cloud(kCloudOverWeather);
        p.drops(3, 19, 5, 8, 5);
        break;
    case kRain:
        p.cloud(kCloudOverWeather);
        p.drops(4, 19, 7, 6.5, 5);
        break;
    case kSnowFlurries:
        p.cloud(kCloudOverWeather);
        p.flake(15, 23, 3.0);
        break;
    case kLightSnowShowers:
        p.cloud(kCloudOverWeather);
        p.flake(11, 22, 3.0);
        p.flake(19, 25, 3.0);
        break;
    case kBlowingSnow:
        p.flake(9, 8, 3.5);
        p.flake(19, 6, 3.0);
        p.flake(22, 14, 2.6);
        p.gust(20, 3, 17, 3.2);
        p.gust(26, 6, 12, 2.2);
        break;
    case kSnow:
        p.cloud(kCloudOverWeather);
        p.flake(9, 22, 3.0);
        p.flake(15, 25.5, 3.0);
        p.flake(21, 22, 3.0);
        break;
    case kHail:
        p.cloud(kCloudOverWeather);
        p.hailstone(9, 21);
        p.hailstone(15, 25);
        p.hailstone(21, 21);
        break;
    case kSleet:
        p.cloud(kCloudOverWeather);
        for (int i = 0; i < 4; ++i)
            p.pellet(7.5 + i * 5, 21 + (i % 2) * 4);
        break;
    case kDust: p.dust(); break;
    case kFoggy:
        p.cloud({4, 2, 22, 13});
        p.lines(19.5, 4, 3, 3, 27);
        break;
    case kHaze:
        p.sun(15, 11, 5);
        p.lines(19, 4, 3, 3, 27, 0.8);
        break;
    case kSmoky: p.smoke(); break;
    case kBlustery:
        p.cloud({11, 2, 16, 10});
        p.gust(16, 3, 17, 3.2);
        p.gust(22, 5, 13, 2.6);
        p.gust(27, 3, 9, 2.0);
        break;
    case kWindy:
        p.gust(10, 3, 18, 3.5);
        p.gust(17, 5, 14, 3.0);
        p.gust(24, 3, 10, 2.4);
        break;
    case kCold:
        p.thermometer(10, 0.15);
        p.flake(22, 10, 5);
        break;
    case kCloudy:
        p.white(0.7);
        p.cloud({10, 3, 18, 11}, 0.7);
        p.cloud(kCloudAlone);
        break;
    case kMostlyCloudyNight: sunBehindCloud(p, kCloudBeforeSun, true, true); break;
    case kMostlyCloudyDay: sunBehindCloud(p, kCloudBeforeSun, false, true); break;
    case kPartlyCloudyNight: sunBehindCloud(p, kSmallCloudBeforeSun, true, false); break;
    case kPartlyCloudyDay: sunBehindCloud(p, kSmallCloudBeforeSun, false, false); break;
    case kClearNight:
        p.moon(14, 15, 9);
        p.star(24, 6, 2.2);
        p.star(25.5, 15, 1.4);
        break;
    case kSunny: p.sun(15, 15, 6.5); break;
    case kFairNight:
        p.moon(14, 16, 7.5);
        p.star(24, 7, 1.8);
        break;
    case kFairDay:
        p.sun(15, 15, 5.5);
        p.white(0.7);
        p.cloud({14, 19, 13, 8}, 0.7);
        break;
    case kRainAndHail:
        p.cloud(kCloudOverWeather);
        p.drops(2, 19, 5, 7, 10);
        p.hailstone(13, 22);
        p.hailstone(22, 25);
        break;
    case kHot:
        p.thermometer(9, 0.9);
        p.sun(22, 9, 3.5);
        break;
    case kIsolatedThunderstorms:
        p.sun(10, 8, 4);
        p.cloud(kCloudBeforeSunOverWeather);
        p.bolt(18, 17, 0.9);
        break;
    case kScatteredThunderstorms:
        p.cloud(kCloudOverWeather);
        p.bolt(11, 16, 0.9);
        p.drops(1, 19, 5, 18, 5);
        break;
    case kScatteredThunderstormsLate:
        p.cloud(kCloudOverWeather);
        p.drops(1, 19, 5, 6, 5);
        p.bolt(16, 16, 0.9);
        p.drops(1, 19, 5, 21, 5);
        break;
    case kScatteredShowers:
        p.sun(10, 8, 4);
        p.cloud(kCloudBeforeSunOverWeather);
        p.drops(2, 20, 5, 13, 5);
        break;
    case kHeavySnow:
        p.cloud(kCloudOverWeather);
        p.flake(7.5, 21.5, 2.6);
        p.flake(15, 21.5, 2.6);
        p.flake(22.5, 21.5, 2.6);
        p.flake(11.25, 26.5, 2.4);
        p.flake(18.75, 26.5, 2.4);
        break;
    case kScatteredSnowShowers:
        p.sun(10, 8, 4);
        p.cloud(kCloudBeforeSunOverWeather);
        p.flake(15, 23, 2.8);
        p.flake(22, 25, 2.8);
        break;
    case kHeavySnowWindy:
        p.cloud(kCloudOverWeather);
        p.flake(8, 21.5, 2.6);
        p.flake(15, 21.5, 2.6);
        p.flake(22, 21.5, 2.6);
        p.gust(27, 4, 16, 2.0);
        break;
    case kPartlyCloudy:
        p.white(0.8);
        p.sun(11, 10, 5, false);
        p.cloud(kCloudBeforeSun);
        break;
    case kThundershowers:
        p.cloud(kCloudOverWeather);
        p.drops(2, 19, 5, 5.5, 13);
        p.bolt(14.5, 16, 1.0);
        break;
    case kSnowShowers:
        p.cloud(kCloudOverWeather);
        p.flake(9, 23, 3.0);
        p.drops(1, 19, 5, 13, 5);
        p.flake(21, 23, 3.0);
        break;
    case kIsolatedThundershowers:
        p.sun(10, 8, 4);
        p.cloud(kCloudBeforeSunOverWeather);
        p.bolt(15, 17, 0.85);
        p.drops(1, 19, 5, 20, 5);
        break;
    default: break;
    }
}

} // namespace

void drawConditionPicture(cairo_t* cr, long code)
{
    if (!isConditionCode(code)) {
        drawNotAvailablePicture(cr);
        return;
    }
    Painter painter(cr);
    scene(painter, code);
}

void drawNotAvailablePicture(cairo_t* cr)
{
    Painter painter(cr);
    painter.white(0.6);
    cairo_set_line_width(cr, 1.6);
    const double dash[] = {2.5, 2.5};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_arc(cr, 15, 15, 11, 0, 2 * kPi);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_move_to(cr, 9, 21);
    cairo_line_to(cr, 21, 9);
    cairo_stroke(cr);
}

} // namespace weather
