#include "viewer/core/Zoom.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "framework/core/Mbcs.h"

namespace {
// A float factor is only close to the value meant (0.7f is 0.69999999), so 10 pixels at 70% would come to
// 6.9999999 and truncate to 6. A product within a millionth below a whole number is taken as that number.
constexpr double kFloatSlack = 1e-6;

constexpr int kMinRectSide = 10;  // device pixels; a smaller drag is a click
constexpr int kMinBoxNumber = 10;
constexpr int kMaxBoxNumber = 200;
// Digits beyond this cannot change the clamped number; stopping here keeps a long run of them from overflowing.
constexpr int kBoxNumberCap = 1000;

int ToInt(double value) {
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

int TruncateProduct(double value) {
    return ToInt(value + std::copysign(std::fabs(value) * kFloatSlack, value));
}

float BoundZoom(float factor) {
    return std::clamp(factor, kMinZoom, kMaxZoom);
}

// Where a logical coordinate lands on the device under the view's mapping (window extent = base size, viewport
// extent = zoomed size), rounded to the nearest pixel as GDI does; 0 for an empty page.
double ToDevice(int logical, int baseExtent, int zoomedExtent) {
    if (baseExtent <= 0)
        return 0;
    return std::floor(static_cast<double>(logical) * zoomedExtent / baseExtent + 0.5);
}

int CentredAxis(int centre, int base, int zoomed, int client) {
    const double wanted = ToDevice(centre, base, zoomed) - client / 2;
    const double last = std::max(0.0, static_cast<double>(zoomed) - client);
    return ToInt(std::clamp(wanted, 0.0, last));
}

void StepsAxis(int zoomed, int& page, int& line) {
    if (zoomed <= 0) {
        page = line = 0;
        return;
    }
    page = std::max(1, zoomed / 10);
    line = std::max(1, page / 10);
}
}  // namespace

ZoomSize ZoomedSize(ZoomSize base, float factor) {
    return {TruncateProduct(static_cast<double>(base.cx) * factor),
            TruncateProduct(static_cast<double>(base.cy) * factor)};
}

float ZoomInFactor(float factor, float step) {
    return BoundZoom(factor * step);
}

float ZoomOutFactor(float factor, float step) {
    if (!(step > 0))
        return BoundZoom(factor);
    return BoundZoom(factor / step);
}

ScrollSteps ScrollStepsFor(ZoomSize zoomed) {
    ScrollSteps steps;
    StepsAxis(zoomed.cx, steps.page.cx, steps.line.cx);
    StepsAxis(zoomed.cy, steps.page.cy, steps.line.cy);
    return steps;
}

ZoomPoint CentredScrollPosition(ZoomPoint centre, ZoomSize base, float factor, ZoomSize client) {
    const ZoomSize zoomed = ZoomedSize(base, factor);
    return {CentredAxis(centre.x, base.cx, zoomed.cx, client.cx), CentredAxis(centre.y, base.cy, zoomed.cy, client.cy)};
}

ZoomToRectPlan PlanZoomToRect(ZoomRect rubber, ZoomSize base, float factor, ZoomSize client) {
    const long long left = std::min(rubber.left, rubber.right);
    const long long right = std::max(rubber.left, rubber.right);
    const long long top = std::min(rubber.top, rubber.bottom);
    const long long bottom = std::max(rubber.top, rubber.bottom);
    ZoomToRectPlan plan;
    plan.centre = {static_cast<int>((left + right) / 2), static_cast<int>((top + bottom) / 2)};

    const ZoomSize zoomed = ZoomedSize(base, factor);
    const double deviceWidth =
        ToDevice(static_cast<int>(right), base.cx, zoomed.cx) - ToDevice(static_cast<int>(left), base.cx, zoomed.cx);
    const double deviceHeight =
        ToDevice(static_cast<int>(bottom), base.cy, zoomed.cy) - ToDevice(static_cast<int>(top), base.cy, zoomed.cy);
    if (std::max(deviceWidth, deviceHeight) < kMinRectSide) {
        plan.stepIn = true;
        plan.factor = ZoomInFactor(factor);
        return plan;
    }
    // The factor is absolute, so the client is measured against the rectangle's page pixels; against its
    // device pixels the result would only be right at 100% (at 200% a drag would zoom out). An axis without
    // extent sets no bound.
    double fit = static_cast<double>(kMaxZoom);
    if (right > left)
        fit = std::min(fit, (client.cx + 1.0) / static_cast<double>(right - left));
    if (bottom > top)
        fit = std::min(fit, (client.cy + 1.0) / static_cast<double>(bottom - top));
    plan.factor = BoundZoom(static_cast<float>(fit));
    return plan;
}

std::string ZoomBoxText(float factor) {
    return std::to_string(TruncateProduct(static_cast<double>(factor) * 100.0)) + "%";
}

ZoomBoxChoice ParseZoomBoxText(std::string_view text) {
    bool anyDigit = false;
    int number = 0;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(c)) {
            i += CharLength(text, i);
            continue;
        }
        if (c == '%')
            break;
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            number = std::min(number * 10 + (c - '0'), kBoxNumberCap);
        }
        ++i;
    }
    if (!anyDigit)
        return {1.0f, "100%"};
    number = std::clamp(number, kMinBoxNumber, kMaxBoxNumber);
    return {static_cast<float>(number * 0.01), std::to_string(number) + "%"};
}
