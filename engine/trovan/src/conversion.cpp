#include "conversion.h"

#include <sys/stat.h>
#include <unistd.h>

namespace trovan {

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

Conversion::~Conversion() { Stop(); }

int Conversion::Initial(const std::string& source, const std::string& target) {
    std::lock_guard lock(m_mutex);
    if (m_state == State::Running) return TROVAN_ERR_ORDER;
    struct stat sourceInfo {};
    if (::stat(source.c_str(), &sourceInfo) != 0 || !S_ISREG(sourceInfo.st_mode) ||
        ::access(source.c_str(), R_OK) != 0) {
        return TROVAN_ERR_SOURCE;
    }
    struct stat folderInfo {};
    const std::string folder = FolderOf(target);
    if (target.empty() || target.back() == '/' || ::stat(folder.c_str(), &folderInfo) != 0 ||
        !S_ISDIR(folderInfo.st_mode) || ::access(folder.c_str(), W_OK | X_OK) != 0) {
        return TROVAN_ERR_TARGET;
    }
    // Writing over the source would replace the recording by its conversion.
    struct stat targetInfo {};
    if (::stat(target.c_str(), &targetInfo) == 0 && SameFile(sourceInfo, targetInfo)) {
        return TROVAN_ERR_TARGET;
    }
    m_source = source;
    m_target = target;
    return TROVAN_OK;
}

int Conversion::SetParams(const TrovanParams& params) {
    std::lock_guard lock(m_mutex);
    if (m_state == State::Running) return TROVAN_ERR_ORDER;
    return SettingsFromParams(params, &m_settings) ? TROVAN_OK : TROVAN_ERR_PARAMETER;
}

int Conversion::Start() {
    std::lock_guard lock(m_mutex);
    if (m_source.empty() || m_state == State::Running) return TROVAN_ERR_ORDER;
    Join();
    m_progress = std::make_shared<JobProgress>();
    m_state = State::Running;
    m_thread = std::thread(
        [this, progress = m_progress, source = m_source, target = m_target, settings = m_settings] {
            const int result = RunConversion(source, target, settings, *progress);
            m_result = result;
            m_state = result == TROVAN_OK ? State::Finished : State::Failed;
        });
    return TROVAN_OK;
}

int Conversion::Percent(int32_t* percent) {
    std::lock_guard lock(m_mutex);
    *percent = m_progress ? m_progress->percent.load() : 0;
    return m_state == State::Failed ? TROVAN_ERR_CONVERT : TROVAN_OK;
}

void Conversion::Stop() {
    std::lock_guard lock(m_mutex);
    if (m_progress) m_progress->stop = true;
    Join();
    // A stopped conversion is no failure to report; a finished one stays finished.
    if (m_state != State::Finished) m_state = State::Idle;
}

void Conversion::Join() {
    // The thread never takes m_mutex, so the callers wait for it holding the
    // lock, which keeps a second Start from racing this one.
    if (m_thread.joinable()) m_thread.join();
}

}  // namespace trovan
