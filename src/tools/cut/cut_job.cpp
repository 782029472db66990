#include "tools/cut/cut_job.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/debug_log.h"
#include "output_file/pending_output_file.h"
#include "tools/cut/cut_method.h"
#include "tools/cut/stream_copy.h"

namespace {

CutMessage ByteCopyInto(const CutJobRequest& request, const std::string& strTempPath,
                        const std::atomic<bool>& cancel, const CutProgress& progress) {
    const int nOutputFd = ::open(strTempPath.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (nOutputFd < 0) return CutMessage::CreateFileFail;
    ByteCopyRequest copy;
    copy.nSourceFd = request.nSourceFd;
    copy.nHeadLength = request.nHeadLength;
    copy.nStart = request.range.nStart;
    copy.nLength = request.range.Length();
    copy.nBlockBytes = request.nBlockBytes;
    CutMessage eResult = CopyByteRange(copy, nOutputFd, cancel, progress);
    // Some file systems report a failed write only when the file is closed.
    if (::close(nOutputFd) != 0 && eResult == CutMessage::None) eResult = CutMessage::CutFail;
    return eResult;
}

// Renaming the clip over its own source would destroy the recording.
bool TargetIsTheSource(const std::string& strTarget, int nSourceFd) {
    struct stat target {
    }, source{};
    return ::stat(strTarget.c_str(), &target) == 0 && ::fstat(nSourceFd, &source) == 0 &&
           target.st_dev == source.st_dev && target.st_ino == source.st_ino;
}

}  // namespace

CutMessage RunCutJob(const CutJobRequest& request, const std::atomic<bool>& cancel,
                     const CutProgress& progress) {
    if (request.nSourceFd < 0 || TargetIsTheSource(request.strTarget, request.nSourceFd)) {
        DebugLog("CutFile end");
        return CutMessage::CreateFileFail;
    }
    outputfile::PendingOutputFile output(request.strTarget);
    CutMessage eResult = CutMessage::CreateFileFail;
    if (output.Ok()) {
        if (DetectCutMethod(request.nSourceFd, request.strSource) == CutMethod::StreamCopy) {
            eResult = StreamCopyRange(request.strSource, request.range, request.strTarget,
                                      output.TempPath(), cancel, progress);
        } else {
            eResult = ByteCopyInto(request, output.TempPath(), cancel, progress);
        }
        // A cancel that arrives while the last bytes go out still cancels.
        if (eResult == CutMessage::None && cancel.load()) eResult = CutMessage::UserCancel;
        if (eResult == CutMessage::None) {
            eResult = output.Commit() ? CutMessage::CutSucc : CutMessage::CutFail;
        }
    }
    if (eResult != CutMessage::CutSucc) output.Discard();
    if (eResult == CutMessage::UserCancel) DebugLog("CutFile cancel");
    DebugLog("CutFile end");
    return eResult;
}
