#include "power_loss_vfs.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace harness {

// SQLite hands out szOsFile bytes per open file: ours first, the real VFS's file after it.
struct PowerLossVfs::File {
    sqlite3_file base;
    PowerLossVfs* owner;
    const char* path;  // null when the file is not one whose loss matters (temporary files)
    sqlite3_file* real();
};

namespace {

constexpr std::size_t kRealOffset = (sizeof(PowerLossVfs::File) + 15) / 16 * 16;

using File = PowerLossVfs::File;

File* of(sqlite3_file* f) { return reinterpret_cast<File*>(f); }
PowerLossVfs* owner(sqlite3_vfs* vfs) { return static_cast<PowerLossVfs*>(vfs->pAppData); }

sqlite3_int64 sizeOf(sqlite3_file* real) {
    sqlite3_int64 size = 0;
    real->pMethods->xFileSize(real, &size);
    return size;
}

// Keeps the bytes of [from, to) as the last sync left them, before they are overwritten.
void keep(PowerLossVfs::Durable& d, sqlite3_file* real, sqlite3_int64 from, sqlite3_int64 to) {
    to = std::min({to, d.syncedSize, sizeOf(real)});
    if (from >= to) return;
    std::string old(static_cast<std::size_t>(to - from), '\0');
    real->pMethods->xRead(real, old.data(), static_cast<int>(old.size()), from);
    d.undo.emplace_back(from, std::move(old));
}

int xClose(sqlite3_file* f) {
    sqlite3_file* real = of(f)->real();
    return real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
}
int xRead(sqlite3_file* f, void* buf, int amount, sqlite3_int64 offset) {
    return of(f)->real()->pMethods->xRead(of(f)->real(), buf, amount, offset);
}
int xWrite(sqlite3_file* f, const void* buf, int amount, sqlite3_int64 offset) {
    File* file = of(f);
    if (!file->owner->step()) return SQLITE_IOERR_WRITE;
    if (auto* d = file->path ? file->owner->durable(file->path) : nullptr) keep(*d, file->real(), offset, offset + amount);
    return file->real()->pMethods->xWrite(file->real(), buf, amount, offset);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size) {
    File* file = of(f);
    if (!file->owner->step()) return SQLITE_IOERR_TRUNCATE;
    if (auto* d = file->path ? file->owner->durable(file->path) : nullptr) keep(*d, file->real(), size, sizeOf(file->real()));
    return file->real()->pMethods->xTruncate(file->real(), size);
}
// The sync itself is what the simulation models: the real disk is not asked, which keeps a
// thousand losses quick.
int xSync(sqlite3_file* f, int) {
    File* file = of(f);
    if (!file->owner->step()) return SQLITE_IOERR_FSYNC;
    if (auto* d = file->path ? file->owner->durable(file->path) : nullptr) {
        d->undo.clear();
        d->syncedSize = sizeOf(file->real());
    }
    return SQLITE_OK;
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) { return of(f)->real()->pMethods->xFileSize(of(f)->real(), size); }
int xLock(sqlite3_file* f, int level) { return of(f)->real()->pMethods->xLock(of(f)->real(), level); }
int xUnlock(sqlite3_file* f, int level) { return of(f)->real()->pMethods->xUnlock(of(f)->real(), level); }
int xCheckReservedLock(sqlite3_file* f, int* out) {
    return of(f)->real()->pMethods->xCheckReservedLock(of(f)->real(), out);
}
int xFileControl(sqlite3_file* f, int op, void* arg) {
    return of(f)->real()->pMethods->xFileControl(of(f)->real(), op, arg);
}
int xSectorSize(sqlite3_file* f) { return of(f)->real()->pMethods->xSectorSize(of(f)->real()); }
int xDeviceCharacteristics(sqlite3_file* f) {
    return of(f)->real()->pMethods->xDeviceCharacteristics(of(f)->real());
}
int xShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out) {
    return of(f)->real()->pMethods->xShmMap(of(f)->real(), region, size, extend, out);
}
int xShmLock(sqlite3_file* f, int offset, int n, int flags) {
    return of(f)->real()->pMethods->xShmLock(of(f)->real(), offset, n, flags);
}
void xShmBarrier(sqlite3_file* f) { of(f)->real()->pMethods->xShmBarrier(of(f)->real()); }
int xShmUnmap(sqlite3_file* f, int deleteFlag) { return of(f)->real()->pMethods->xShmUnmap(of(f)->real(), deleteFlag); }

// Memory-mapped reads are left off (xFetch hands out nothing), so every read comes through xRead.
const sqlite3_io_methods kMethods = {
    2,         xClose,     xRead,       xWrite,     xTruncate,   xSync,
    xFileSize, xLock,      xUnlock,     xCheckReservedLock,      xFileControl,
    xSectorSize, xDeviceCharacteristics, xShmMap, xShmLock,      xShmBarrier, xShmUnmap,
    nullptr,   nullptr};

int xOpen(sqlite3_vfs* vfs, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    PowerLossVfs* self = owner(vfs);
    File* file = of(f);
    file->base.pMethods = nullptr;
    file->owner = self;
    const bool lasting = name && (flags & (SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_WAL | SQLITE_OPEN_MAIN_JOURNAL));
    file->path = lasting ? name : nullptr;
    sqlite3_file* real = file->real();
    const int rc = self->real()->xOpen(self->real(), name, real, flags, outFlags);
    if (rc != SQLITE_OK) return rc;
    file->base.pMethods = &kMethods;
    if (file->path) self->opened(file->path, sizeOf(real));
    return SQLITE_OK;
}
int xDelete(sqlite3_vfs* vfs, const char* name, int syncDir) {
    PowerLossVfs* self = owner(vfs);
    if (!self->step()) return SQLITE_IOERR_DELETE;
    self->forget(name);
    return self->real()->xDelete(self->real(), name, syncDir);
}
int xAccess(sqlite3_vfs* vfs, const char* name, int flags, int* out) {
    return owner(vfs)->real()->xAccess(owner(vfs)->real(), name, flags, out);
}
int xFullPathname(sqlite3_vfs* vfs, const char* name, int n, char* out) {
    return owner(vfs)->real()->xFullPathname(owner(vfs)->real(), name, n, out);
}
int xRandomness(sqlite3_vfs* vfs, int n, char* out) { return owner(vfs)->real()->xRandomness(owner(vfs)->real(), n, out); }
int xSleep(sqlite3_vfs* vfs, int micro) { return owner(vfs)->real()->xSleep(owner(vfs)->real(), micro); }
int xCurrentTime(sqlite3_vfs* vfs, double* out) { return owner(vfs)->real()->xCurrentTime(owner(vfs)->real(), out); }
int xGetLastError(sqlite3_vfs* vfs, int n, char* out) {
    return owner(vfs)->real()->xGetLastError(owner(vfs)->real(), n, out);
}
int xCurrentTimeInt64(sqlite3_vfs* vfs, sqlite3_int64* out) {
    return owner(vfs)->real()->xCurrentTimeInt64(owner(vfs)->real(), out);
}

}  // namespace

sqlite3_file* PowerLossVfs::File::real() {
    return reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(this) + kRealOffset);
}

PowerLossVfs::PowerLossVfs() : real_(sqlite3_vfs_find(nullptr)) {
    if (!real_) throw std::runtime_error("no SQLite VFS to stand on");
    vfs_.iVersion = 2;
    vfs_.szOsFile = static_cast<int>(kRealOffset) + real_->szOsFile;
    vfs_.mxPathname = real_->mxPathname;
    vfs_.zName = "ktr-power-loss";
    vfs_.pAppData = this;
    vfs_.xOpen = xOpen;
    vfs_.xDelete = xDelete;
    vfs_.xAccess = xAccess;
    vfs_.xFullPathname = xFullPathname;
    vfs_.xRandomness = xRandomness;
    vfs_.xSleep = xSleep;
    vfs_.xCurrentTime = xCurrentTime;
    vfs_.xGetLastError = xGetLastError;
    vfs_.xCurrentTimeInt64 = xCurrentTimeInt64;
    if (sqlite3_vfs_register(&vfs_, 1) != SQLITE_OK) throw std::runtime_error("cannot register the power-loss VFS");
}

PowerLossVfs::~PowerLossVfs() {
    sqlite3_vfs_unregister(&vfs_);
    sqlite3_vfs_register(real_, 1);
}

void PowerLossVfs::loseAfter(std::uint64_t n) {
    operations_ = 0;
    loseAt_ = n;
}

bool PowerLossVfs::step() {
    if (dead_) return false;
    if (++operations_ == loseAt_) dead_ = true;
    return !dead_;
}

PowerLossVfs::Durable* PowerLossVfs::durable(const std::string& path) {
    const auto it = files_.find(path);
    return it == files_.end() ? nullptr : &it->second;
}

void PowerLossVfs::opened(const std::string& path, sqlite3_int64 size) {
    files_.try_emplace(path, Durable{size, {}});
}

void PowerLossVfs::restore() {
    for (auto& [path, d] : files_) {
        const int fd = ::open(path.c_str(), O_RDWR);
        if (fd < 0) continue;
        bool ok = ::ftruncate(fd, d.syncedSize) == 0;
        for (auto it = d.undo.rbegin(); it != d.undo.rend(); ++it)
            ok = ok && ::pwrite(fd, it->second.data(), it->second.size(), it->first) == static_cast<ssize_t>(it->second.size());
        ::close(fd);
        if (!ok) throw std::runtime_error("cannot put back " + path);
        std::filesystem::remove(path + "-shm");
    }
    files_.clear();
    dead_ = false;
    operations_ = loseAt_ = 0;
}

}  // namespace harness
