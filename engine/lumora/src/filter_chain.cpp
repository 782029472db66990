#include "filter_chain.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/pixdesc.h>
}

namespace lumora {

FilterChain::~FilterChain() { Clear(); }

void FilterChain::Clear() {
    avfilter_graph_free(&m_graph);
    m_source = nullptr;
    m_sink = nullptr;
    m_key.clear();
}

bool FilterChain::Build(const std::string& filters, int width, int height, AVPixelFormat input,
                        AVPixelFormat output) {
    const char* outputName = av_get_pix_fmt_name(output);
    if (!outputName) return false;
    const std::string description =
        (filters.empty() ? std::string() : filters + ",") + "format=pix_fmts=" + outputName;
    const std::string key = description + "|" + std::to_string(width) + "x" +
                            std::to_string(height) + "|" + std::to_string(input);
    if (m_graph && key == m_key) return true;
    Clear();

    m_graph = avfilter_graph_alloc();
    if (!m_graph) return false;
    const std::string sourceArgs = "video_size=" + std::to_string(width) + "x" +
                                   std::to_string(height) + ":pix_fmt=" + std::to_string(input) +
                                   ":time_base=1/25:pixel_aspect=1/1";
    AVFilterInOut* outputs = nullptr;
    AVFilterInOut* inputs = nullptr;
    bool ok = avfilter_graph_create_filter(&m_source, avfilter_get_by_name("buffer"), "in",
                                           sourceArgs.c_str(), nullptr, m_graph) >= 0 &&
              avfilter_graph_create_filter(&m_sink, avfilter_get_by_name("buffersink"), "out",
                                           nullptr, nullptr, m_graph) >= 0;
    if (ok) {
        outputs = avfilter_inout_alloc();
        inputs = avfilter_inout_alloc();
        ok = outputs && inputs;
    }
    if (ok) {
        outputs->name = av_strdup("in");
        outputs->filter_ctx = m_source;
        inputs->name = av_strdup("out");
        inputs->filter_ctx = m_sink;
        ok = outputs->name && inputs->name &&
             avfilter_graph_parse_ptr(m_graph, description.c_str(), &inputs, &outputs, nullptr) >=
                 0 &&
             avfilter_graph_config(m_graph, nullptr) >= 0;
    }
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (!ok) {
        Clear();
        return false;
    }
    m_key = key;
    m_pts = 0;
    return true;
}

bool FilterChain::Run(AVFrame* in, AVFrame* out) {
    if (!m_graph) return false;
    in->pts = m_pts++;
    if (av_buffersrc_add_frame_flags(m_source, in, AV_BUFFERSRC_FLAG_KEEP_REF) < 0) return false;
    return av_buffersink_get_frame(m_sink, out) >= 0;
}

}  // namespace lumora
