#include <unistd.h>

#include <random>

#include "platform/smb_file_access.h"
#include "platform/text.h"

namespace vorsa {

void RoutingFileAccess::Alias(const std::string& localPath, const std::string& networkPath) {
    aliases_[ToUpper(localPath)] = networkPath;
}

RoutingFileAccess::Location RoutingFileAccess::AliasFolderIfShared(
    const std::string& localFolder, const std::string& networkFolder,
    const std::vector<std::string>& names) {
    if (names.empty()) return Location::NonServita;
    if (aliases_.count(ToUpper(localFolder + "/" + names.front()))) return Location::Servita;
    // A name nobody else uses: this process, and a random part against a recycled pid.
    std::random_device rd;
    const std::string nome =
        ".vorsa-sede-" + std::to_string(::getpid()) + "-" + std::to_string(rd());
    const std::string qui = localFolder + "/" + nome;
    const std::string la = networkFolder + "/" + nome;
    Location sede = Location::NonServita;
    if (smb_.ReplaceAll(la, "vorsa")) {
        if (local_.Exists(qui)) sede = Location::Servita;
        smb_.Remove(la);
    } else if (local_.ReplaceAll(qui, "vorsa")) {
        if (smb_.Exists(la)) sede = Location::NonScrivibile;
        local_.Remove(qui);
    }
    if (sede == Location::Servita)
        for (const std::string& n : names) Alias(localFolder + "/" + n, networkFolder + "/" + n);
    return sede;
}

std::pair<FileAccess*, std::string> RoutingFileAccess::Route(const std::string& path) {
    if (!aliases_.empty()) {
        auto a = aliases_.find(ToUpper(path));
        if (a != aliases_.end()) return {&smb_, a->second};
    }
    if (IsNetworkPath(path)) return {&smb_, path};
    return {&local_, path};
}

ReadResult RoutingFileAccess::ReadAll(const std::string& path) {
    auto [fa, p] = Route(path);
    return fa->ReadAll(p);
}
bool RoutingFileAccess::ReplaceAll(const std::string& path, std::string_view bytes) {
    auto [fa, p] = Route(path);
    return fa->ReplaceAll(p, bytes);
}
std::unique_ptr<FileLock> RoutingFileAccess::LockExclusive(const std::string& path) {
    auto [fa, p] = Route(path);
    return fa->LockExclusive(p);
}
std::unique_ptr<FileLock> RoutingFileAccess::LockExisting(const std::string& path) {
    auto [fa, p] = Route(path);
    return fa->LockExisting(p);
}
std::optional<FileStamp> RoutingFileAccess::Stamp(const std::string& path) {
    auto [fa, p] = Route(path);
    return fa->Stamp(p);
}
bool RoutingFileAccess::Exists(const std::string& path) {
    auto [fa, p] = Route(path);
    return fa->Exists(p);
}
bool RoutingFileAccess::Remove(const std::string& path) {
    auto [fa, p] = Route(path);
    return fa->Remove(p);
}
bool RoutingFileAccess::CreateFolder(const std::string& path) {
    auto [fa, p] = Route(path);
    return fa->CreateFolder(p);
}
int RoutingFileAccess::RemoveStaleTemps(const std::string& path) {
    auto [fa, p] = Route(path);
    return fa->RemoveStaleTemps(p);
}
bool RoutingFileAccess::CanReplace(const std::string& path) {
    auto [fa, p] = Route(path);
    return fa->CanReplace(p);
}
std::vector<std::string> RoutingFileAccess::ListFiles(const std::string& folder,
                                                      std::string_view suffix) {
    auto [fa, p] = Route(folder);
    return fa->ListFiles(p, suffix);
}
bool RoutingFileAccess::Rename(const std::string& from, const std::string& to) {
    auto [fa, a] = Route(from);
    auto [fb, b] = Route(to);
    if (fa != fb) return false;
    return fa->Rename(a, b);
}
bool RoutingFileAccess::StampAfterReplaceIsOwn(const std::string& path) {
    auto [fa, p] = Route(path);
    return fa->StampAfterReplaceIsOwn(p);
}

}  // namespace vorsa
