#include <algorithm>

#include "cadlib/core/parallel.h"
#include "cadlib/dll/render_context.h"

namespace cad {

BandPainter::BandPainter(const PixelPlane& plane, size_t bands) : plane_(plane) {
    plane_.record = nullptr;
    bands_ = std::max<size_t>(1, std::min<size_t>(bands, plane.h > 0 ? static_cast<size_t>(plane.h) : 1));
    bandRows_ = plane.h > 0 ? static_cast<int>((plane.h + bands_ - 1) / bands_) : 1;
}

BandPainter::~BandPainter() {
    for (std::vector<uint32_t>& bins : bins_)
        KeptBins().Put(bins);
}

// About two full views' worth of writes and their band lists.
KeptBuffers<PixelOp>& KeptOps() {
    static KeptBuffers<PixelOp>* kept = new KeptBuffers<PixelOp>(size_t(2) << 20);
    return *kept;
}

KeptBuffers<uint32_t>& KeptBins() {
    static KeptBuffers<uint32_t>* kept = new KeptBuffers<uint32_t>(size_t(3) << 20);
    return *kept;
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
    // Each write to the bands its rows touch; writes beyond the plane go
    // nowhere. A range's lists are counted first and laid out in one block:
    // lists grown write by write on every thread wait on each other at the heap.
    if (bins_.size() < ranges_.size()) bins_.resize(ranges_.size());
    if (binStart_.size() < ranges_.size() * (bands_ + 1)) binStart_.resize(ranges_.size() * (bands_ + 1));
    const int top = plane_.oy, rows = plane_.h;
    ParallelFor(ranges_.size(), [&](size_t r) {
        uint32_t* start = &binStart_[r * (bands_ + 1)];
        std::fill(start, start + bands_ + 1, 0);
        const Range& range = ranges_[r];
        auto bandsOf = [&](const PixelOp& op, size_t& first, size_t& last) {
            int t = op.Top() - top, u = op.Bottom() - top;
            if (u < 0 || t >= rows || u < t) return false;
            first = t < 0 ? 0 : static_cast<size_t>(t / bandRows_);
            last = std::min(bands_ - 1, static_cast<size_t>(u / bandRows_));
            return true;
        };
        size_t first = 0, last = 0;
        for (size_t i = 0; i < range.count; ++i)
            if (bandsOf(range.ops[i], first, last))
                for (size_t b = first; b <= last; ++b)
                    ++start[b + 1];
        for (size_t b = 0; b < bands_; ++b)
            start[b + 1] += start[b];
        std::vector<uint32_t>& bins = bins_[r];
        if (bins.capacity() == 0) bins = KeptBins().Take();
        if (bins.size() < start[bands_]) bins.resize(start[bands_]);
        // Each band's start serves as its cursor, then takes its place back.
        for (size_t i = 0; i < range.count; ++i)
            if (bandsOf(range.ops[i], first, last))
                for (size_t b = first; b <= last; ++b)
                    bins[start[b]++] = static_cast<uint32_t>(i);
        for (size_t b = bands_; b > 0; --b)
            start[b] = start[b - 1];
        start[0] = 0;
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
            const uint32_t* start = &binStart_[r * (bands_ + 1)];
            const uint32_t* bins = bins_[r].data();
            for (uint32_t k = start[b]; k < start[b + 1]; ++k)
                band.Run(range.ops[bins[k]]);
        }
    });
    ranges_.clear();
}

}  // namespace cad
