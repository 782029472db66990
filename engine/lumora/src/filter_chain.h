#pragma once

#include <string>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavutil/frame.h>
}

namespace lumora {

// One libavfilter graph: a buffer source, a chain of filters and a sink
// that hands out pictures in one fixed format.
class FilterChain {
public:
    FilterChain() = default;
    ~FilterChain();
    FilterChain(const FilterChain&) = delete;
    FilterChain& operator=(const FilterChain&) = delete;

    // Builds source -> `filters` -> format=`output` -> sink for pictures of
    // width x height in `input`. Keeps the graph when nothing changed.
    bool Build(const std::string& filters, int width, int height, AVPixelFormat input,
               AVPixelFormat output);
    bool Built() const { return m_graph != nullptr; }
    void Clear();

    // Runs one picture through; `out` receives the result (unref it after use).
    bool Run(AVFrame* in, AVFrame* out);

private:
    AVFilterGraph* m_graph = nullptr;
    AVFilterContext* m_source = nullptr;
    AVFilterContext* m_sink = nullptr;
    std::string m_key;
    int64_t m_pts = 0;
};

}  // namespace lumora
