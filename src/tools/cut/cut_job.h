#pragma once

#include <atomic>
#include <string>

#include "tools/cut/byte_range_copy.h"
#include "tools/cut/cut_message.h"
#include "tools/cut/cut_plan.h"

// Everything the work thread needs; plain values, no widgets.
struct CutJobRequest {
    std::string strSource;  // UTF-8 path of the source, for the stream copy
    int nSourceFd = -1;     // the source opened for reading; the caller closes it
    std::string strTarget;  // UTF-8 path of the clip
    uint32_t nHeadLength = 0;
    CutRange range;
    size_t nBlockBytes = CUT_BLOCK_BYTES;
};

// The whole cut, on the calling thread: chooses the byte copy or the stream
// copy for the source, writes the clip under a temporary name and renames it
// to the target only when it is complete. Returns CutMessage::CutSucc, or
// CutMessage::UserCancel / a failure, in which case no clip and no partial
// file are left on disk. A target that is the source itself is refused
// (CutMessage::CreateFileFail) before anything is written.
CutMessage RunCutJob(const CutJobRequest& request, const std::atomic<bool>& cancel,
                     const CutProgress& progress);
