#include "TrendFit.h"

#include <algorithm>
#include <cmath>

namespace {

double median(std::vector<double> values) {
    const std::size_t half = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half), values.end());
    const double upper = values[half];
    if (values.size() % 2 == 1) return upper;
    return (*std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half)) + upper) / 2;
}

}  // namespace

double Trend::valueAt(double level) const { return a * std::exp(b * level); }

double Trend::bandFactor() const { return std::exp(kOutlierDeviations * deviation); }

double Trend::lowerEdgeAt(double level) const { return valueAt(level) * std::exp(centre) / bandFactor(); }

double Trend::upperEdgeAt(double level) const { return valueAt(level) * std::exp(centre) * bandFactor(); }

double Trend::growthPercent() const { return (std::exp(b) - 1) * 100; }

Trend fitTrend(std::span<const LevelValue> points, std::span<const double> given) {
    Trend trend;
    // Each logarithm once; sums about the means, which keep their precision over
    // thousands of points.
    std::vector<double> levels;
    std::vector<double> logs;
    levels.reserve(points.size());
    logs.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].value <= 0) continue;
        levels.push_back(points[i].level);
        logs.push_back(i < given.size() ? given[i] : std::log(static_cast<double>(points[i].value)));
    }
    trend.fittedCount = static_cast<int>(logs.size());
    trend.leftOut = static_cast<int>(points.size() - logs.size());
    if (trend.fittedCount < 2) return trend;
    double meanLevel = 0;
    double meanLog = 0;
    for (std::size_t i = 0; i < logs.size(); ++i) {
        meanLevel += levels[i];
        meanLog += logs[i];
    }
    meanLevel /= trend.fittedCount;
    meanLog /= trend.fittedCount;
    double spread = 0;
    double together = 0;
    for (std::size_t i = 0; i < logs.size(); ++i) {
        const double dx = levels[i] - meanLevel;
        spread += dx * dx;
        together += dx * (logs[i] - meanLog);
    }
    if (spread <= 0) return trend;  // every value at one level: no slope to fit
    trend.b = together / spread;
    trend.a = std::exp(meanLog - trend.b * meanLevel);
    trend.fitted = true;

    // The residuals, then their distances from their median, in place.
    const double logA = meanLog - trend.b * meanLevel;
    for (std::size_t i = 0; i < logs.size(); ++i) logs[i] -= logA + trend.b * levels[i];
    trend.centre = median(logs);
    for (double& residual : logs) residual = std::abs(residual - trend.centre);
    trend.deviation = median(std::move(logs));
    return trend;
}

std::optional<double> residualOf(const Trend& trend, const LevelValue& point) {
    if (!trend.fitted || point.value <= 0) return std::nullopt;
    return std::log(static_cast<double>(point.value) / trend.a) - trend.b * point.level;
}

namespace {

// How far the point lies from the middle of the residuals, or nothing (see residualOf).
std::optional<double> distanceOf(const Trend& trend, const LevelValue& point) {
    const auto residual = residualOf(trend, point);
    if (!residual) return std::nullopt;
    return std::abs(*residual - trend.centre);
}

}  // namespace

bool isOutlier(const Trend& trend, const LevelValue& point) {
    const auto distance = distanceOf(trend, point);
    return distance && *distance > std::max(kOutlierDeviations * trend.deviation, kOnTheTrend);
}

std::vector<Outlier> findOutliers(const Trend& trend, std::span<const LevelValue> points,
                                  std::span<const double> logs) {
    std::vector<Outlier> outliers;
    if (!trend.fitted) return outliers;
    const double beyond = std::max(kOutlierDeviations * trend.deviation, kOnTheTrend);
    const double logA = std::log(trend.a);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].value <= 0) continue;
        const double residual =
            i < logs.size() ? logs[i] - logA - trend.b * points[i].level : *residualOf(trend, points[i]);
        const double distance = std::abs(residual - trend.centre);
        if (distance <= beyond) continue;
        outliers.push_back({i, residual, trend.deviation > 0 ? distance / trend.deviation : 0,
                            std::llround((std::exp(residual) - 1) * 100)});
    }
    std::stable_sort(outliers.begin(), outliers.end(), [&](const Outlier& x, const Outlier& y) {
        return std::abs(x.residual - trend.centre) > std::abs(y.residual - trend.centre);
    });
    return outliers;
}

long long trendValue(const Trend& trend, int level) {
    const double value = trend.valueAt(level);
    constexpr double kLargest = 2147483647.0;
    if (!(value < kLargest)) return static_cast<long long>(kLargest);  // NaN too
    if (value < -kLargest) return -static_cast<long long>(kLargest);
    return std::llround(value);
}
