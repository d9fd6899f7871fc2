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

Trend fitTrend(std::span<const LevelValue> points) {
    Trend trend;
    // Sums about the means, which keep their precision over thousands of points.
    double levels = 0;
    double logs = 0;
    for (const LevelValue& point : points) {
        if (point.value <= 0) {
            ++trend.leftOut;
            continue;
        }
        ++trend.fittedCount;
        levels += point.level;
        logs += std::log(static_cast<double>(point.value));
    }
    if (trend.fittedCount < 2) return trend;
    const double meanLevel = levels / trend.fittedCount;
    const double meanLog = logs / trend.fittedCount;
    double spread = 0;
    double together = 0;
    for (const LevelValue& point : points) {
        if (point.value <= 0) continue;
        const double dx = point.level - meanLevel;
        spread += dx * dx;
        together += dx * (std::log(static_cast<double>(point.value)) - meanLog);
    }
    if (spread <= 0) return trend;  // every value at one level: no slope to fit
    trend.b = together / spread;
    trend.a = std::exp(meanLog - trend.b * meanLevel);
    trend.fitted = true;

    std::vector<double> residuals;
    residuals.reserve(static_cast<std::size_t>(trend.fittedCount));
    for (const LevelValue& point : points)
        if (const auto residual = residualOf(trend, point)) residuals.push_back(*residual);
    trend.centre = median(residuals);
    for (double& residual : residuals) residual = std::abs(residual - trend.centre);
    trend.deviation = median(std::move(residuals));
    return trend;
}

std::optional<double> residualOf(const Trend& trend, const LevelValue& point) {
    if (!trend.fitted || point.value <= 0) return std::nullopt;
    return std::log(static_cast<double>(point.value)) - (std::log(trend.a) + trend.b * point.level);
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

std::vector<Outlier> findOutliers(const Trend& trend, std::span<const LevelValue> points) {
    std::vector<Outlier> outliers;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!isOutlier(trend, points[i])) continue;
        const double residual = *residualOf(trend, points[i]);
        const double distance = std::abs(residual - trend.centre);
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
