// The shared picture budget counts the pictures decoders keep in their pools
// along with the cached ones, and leaves the caches at least half of it.

#include <gtest/gtest.h>

#include "decoder_pictures.h"
#include "picture_budget.h"
#include "picture_cache.h"

using namespace vidmux;

namespace {

Picture MakePicture(int64_t number) {
    AVFrame* frame = av_frame_alloc();
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = 64;
    frame->height = 48;
    EXPECT_EQ(av_frame_get_buffer(frame, 0), 0);
    Picture picture;
    picture.frame = ShareFrame(frame);
    picture.number = number;
    av_frame_free(&frame);
    return picture;
}

std::vector<int64_t> Held(PictureCache& cache, int64_t upTo) {
    std::vector<int64_t> held;
    for (int64_t n = 0; n <= upTo; ++n) {
        if (cache.Get(n)) held.push_back(n);
    }
    return held;
}

TEST(PictureBudget, DecodersTakeTheirPicturesFromTheCachesShareUpToHalf) {
    PictureBudget& budget = PictureBudget::Instance();
    const size_t previousLimit = budget.Limit();
    PictureCache measure;
    measure.Put(MakePicture(0));
    const size_t picture = measure.Bytes();
    ASSERT_GT(picture, 0u);
    measure.Clear();

    budget.SetLimit(10 * picture);
    PictureCache decoding, stepping;
    // The other port's decoder keeps three pictures: seven are left.
    decoding.SetDecoderBytes(3 * picture);
    stepping.SetFocus(9);
    for (int64_t n = 0; n <= 9; ++n) stepping.Put(MakePicture(n));
    EXPECT_EQ(Held(stepping, 9), (std::vector<int64_t>{3, 4, 5, 6, 7, 8, 9}));

    // Decoders that keep more than half the budget leave the caches half.
    decoding.SetDecoderBytes(8 * picture);
    stepping.Put(MakePicture(10));
    stepping.SetFocus(10);
    budget.Balance();
    EXPECT_EQ(Held(stepping, 10), (std::vector<int64_t>{6, 7, 8, 9, 10}));
    budget.SetLimit(previousLimit);
}

// A pool of three buffers handed out in turn, then (a new picture size) a
// pool of two larger ones: the old buffers are forgotten once they have not
// come back for longer than any pool keeps them.
TEST(PictureBudget, DecoderPicturesAreTheBuffersItsPoolHandsOutLately) {
    auto poolFrames = [](size_t size, int buffers, int pictures, DecoderPictures* seen) {
        AVBufferPool* pool = av_buffer_pool_init(size, nullptr);
        std::vector<AVBufferRef*> held(static_cast<size_t>(buffers), nullptr);
        for (int i = 0; i < buffers; ++i) held[static_cast<size_t>(i)] = av_buffer_pool_get(pool);
        AVFrame* frame = av_frame_alloc();
        for (int n = 0; n < pictures; ++n) {
            // Each picture holds one buffer of the pool, in turn.
            frame->buf[0] = held[static_cast<size_t>(n % buffers)];
            seen->Saw(frame);
        }
        frame->buf[0] = nullptr;
        av_frame_free(&frame);
        for (AVBufferRef*& ref : held) av_buffer_unref(&ref);
        av_buffer_pool_uninit(&pool);
    };
    DecoderPictures seen;
    poolFrames(1000, 3, 100, &seen);
    EXPECT_EQ(seen.Bytes(), 3000u);
    poolFrames(5000, 2, 10, &seen);
    EXPECT_EQ(seen.Bytes(), 13000u);
    poolFrames(5000, 2, 100, &seen);
    EXPECT_EQ(seen.Bytes(), 10000u);
}

}  // namespace
