#include <algorithm>

#include "cadlib/core/parallel.h"
#include "cadlib/dll/render_context.h"

namespace cad {

BandPainter::BandPainter(const PixelPlane& plane, size_t bands) : plane_(plane) {
    plane_.record = nullptr;
    bands_ = std::max<size_t>(1, std::min<size_t>(bands, plane.h > 0 ? static_cast<size_t>(plane.h) : 1));
    bandRows_ = plane.h > 0 ? static_cast<int>((plane.h + bands_ - 1) / bands_) : 1;
}

void BandPainter::Add(const PixelOp* ops, size_t count) {
    if (count) ranges_.push_back(Range{ops, count});
}

void BandPainter::Run() {
    if (ranges_.empty()) return;
    if (bands_ == 1) {
        for (const Range& r : ranges_)
            for (size_t i = 0; i < r.count; ++i)
                plane_.Run(r.ops[i]);
        ranges_.clear();
        return;
    }
    // Each write to the bands its rows touch; writes beyond the plane go nowhere.
    if (bins_.size() < ranges_.size() * bands_) bins_.resize(ranges_.size() * bands_);
    const int top = plane_.oy, rows = plane_.h;
    ParallelFor(ranges_.size(), [&](size_t r) {
        std::vector<uint32_t>* bins = &bins_[r * bands_];
        for (size_t b = 0; b < bands_; ++b)
            bins[b].clear();
        const Range& range = ranges_[r];
        for (size_t i = 0; i < range.count; ++i) {
            int t = range.ops[i].Top() - top, u = range.ops[i].Bottom() - top;
            if (u < 0 || t >= rows || u < t) continue;
            size_t first = t < 0 ? 0 : static_cast<size_t>(t / bandRows_);
            size_t last = std::min(bands_ - 1, static_cast<size_t>(u / bandRows_));
            for (size_t b = first; b <= last; ++b)
                bins[b].push_back(static_cast<uint32_t>(i));
        }
    });
    ParallelFor(bands_, [&](size_t b) {
        const int first = static_cast<int>(b) * bandRows_;
        if (first >= rows) return;
        PixelPlane band = plane_;
        band.px = plane_.px + static_cast<ptrdiff_t>(first) * plane_.stride;
        band.oy = plane_.oy + first;
        band.h = std::min(bandRows_, rows - first);
        for (size_t r = 0; r < ranges_.size(); ++r) {
            const Range& range = ranges_[r];
            for (uint32_t i : bins_[r * bands_ + b])
                band.Run(range.ops[i]);
        }
    });
    ranges_.clear();
}

}  // namespace cad
