#pragma once
// The trend of one statistic over the monsters' levels, value = a·e^(b·level), fitted by
// least squares on the logarithm of the values, and the monsters far from it.
//
// A monster's residual is its distance from the trend on the logarithmic scale,
// ln(value) − ln(trend at its level), so that 10 % above the trend weighs the same at
// level 1 as at level 100. The middle of the residuals is their median and their spread
// the median absolute deviation (MAD: the median distance of the residuals from their
// median), which the few monsters far off move and widen far less than they would a
// mean and a standard deviation. A monster more than kOutlierDeviations MADs from the
// middle is an outlier; the band drawn along the trend is that far from the middle
// either way. Measured from the middle rather than from the curve itself, a table made
// by a formula, with one monster changed by hand, has that monster alone out of line:
// the one monster pulls the fitted curve a little off all the others, by more than
// their rounding spreads them.
//
// The logarithm needs values above 0. A value of 0 or below has no place on the trend:
// it is left out of the fit and is never an outlier, and the caller says how many were
// left out. Plain C++, no Qt.

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

inline constexpr double kOutlierDeviations = 3.0;
// Residuals this small are on the trend whatever the MAD: with most values exactly on a
// curve the MAD is 0, and rounding alone must not make the rest outliers.
inline constexpr double kOnTheTrend = 1e-9;

struct LevelValue {
    int level = 0;
    long long value = 0;
};

struct Trend {
    bool fitted = false;  // at least two values above 0, at two levels or more
    double a = 0;         // the trend's value at level 0
    double b = 0;         // its growth rate a level (on the logarithmic scale)
    double centre = 0;     // the median of the residuals
    double deviation = 0;  // their MAD
    int fittedCount = 0;   // values above 0: those the fit used
    int leftOut = 0;       // values of 0 or below

    double valueAt(double level) const;
    // The band's edges at a level.
    double lowerEdgeAt(double level) const;
    double upperEdgeAt(double level) const;
    // How much wider the upper edge is than the middle (and the middle than the lower).
    double bandFactor() const;
    // How much the trend grows from one level to the next, in percent (4.8 for 4.8 %).
    double growthPercent() const;
};

// `logs`, when given, holds the logarithm of each point's value above 0 (one for each
// point, anything for the others): a caller that keeps them spares working them out.
Trend fitTrend(std::span<const LevelValue> points, std::span<const double> logs = {});

// The point's residual, or nothing where it has none (no trend, or a value of 0 or below).
std::optional<double> residualOf(const Trend& trend, const LevelValue& point);
bool isOutlier(const Trend& trend, const LevelValue& point);

struct Outlier {
    std::size_t index = 0;  // of the point in the caller's list
    double residual = 0;
    double deviations = 0;  // its distance from the middle, in MADs (0 while the MAD is 0)
    // How far off in whole percent of the trend's value at the point's level, rounded
    // half away from zero: positive above the trend, negative below.
    long long percent = 0;
};

// The outliers among the points, furthest from the middle first (equal distances in
// the points' order).
std::vector<Outlier> findOutliers(const Trend& trend, std::span<const LevelValue> points,
                                  std::span<const double> logs = {});

// The trend's value at a level as a whole number, rounded half away from zero; a value
// beyond the 32-bit range is held at its edge (the field's bounds pull it in further).
long long trendValue(const Trend& trend, int level);
