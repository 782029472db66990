#pragma once

#include <cstdint>

namespace trovan {

// Places source pictures, which come at any times, on an output of a fixed
// frame rate. Output picture n shows the source picture nearest to n / rate:
// a picture takes the output place its time rounds to, a place nobody took
// repeats the picture before it, and a picture whose place is already taken
// is dropped.
class FramePacer {
public:
    FramePacer(int rateNum, int rateDen) : m_rateNum(rateNum), m_rateDen(rateDen) {}

    struct Placement {
        int64_t repeatsOfPrevious = 0;  // written before this picture, at the next places
        bool keep = false;              // this picture is written, at place Next() - 1
    };
    Placement Place(int64_t timeUs);

    // The place the next written picture takes, which is the count written so far.
    int64_t Next() const { return m_next; }

private:
    int m_rateNum;
    int m_rateDen;
    int64_t m_next = 0;
    int64_t m_firstPlace = 0;
};

}  // namespace trovan
