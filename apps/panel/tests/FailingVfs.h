#pragma once

#include <sqlite3.h>

#include <atomic>
#include <cstring>
#include <stdexcept>

namespace merv::test {

// An SQLite VFS over the default one whose writes fail on demand, as a full disk or a file
// that became read-only makes them fail: the history's tests open their file through it by name.
// While failWith() holds a code, every write of a file opened through it returns that code.
class FailingVfs {
public:
    static constexpr const char* Name = "mervgauge-failing";

    // Registers the VFS once per process; the same one for every test.
    static FailingVfs& instance() {
        static FailingVfs vfs;
        return vfs;
    }
    void failWith(int code) { m_failure = code; }
    void succeed() { m_failure = SQLITE_OK; }
    int failures() const { return m_failures; }

private:
    struct File {
        sqlite3_file base;
        sqlite3_file* real; // the default VFS's file, right behind this one
    };

    FailingVfs() {
        m_real = sqlite3_vfs_find(nullptr);
        if (!m_real)
            throw std::runtime_error("no default SQLite VFS");
        m_vfs = *m_real;
        m_vfs.zName = Name;
        m_vfs.szOsFile = int(sizeof(File)) + m_real->szOsFile;
        m_vfs.pAppData = this;
        m_vfs.xOpen = &open;
        if (sqlite3_vfs_register(&m_vfs, 0) != SQLITE_OK)
            throw std::runtime_error("cannot register the failing VFS");
    }

    static sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real; }

    static int open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* f, int flags,
                    int* outFlags) {
        auto* self = static_cast<FailingVfs*>(vfs->pAppData);
        auto* file = reinterpret_cast<File*>(f);
        file->real = reinterpret_cast<sqlite3_file*>(file + 1);
        std::memset(file->real, 0, std::size_t(self->m_real->szOsFile));
        const int rc = self->m_real->xOpen(self->m_real, name, file->real, flags, outFlags);
        if (!file->real->pMethods) {
            f->pMethods = nullptr;
            return rc;
        }
        self->m_methods = *file->real->pMethods;
        self->wrap(self->m_methods);
        f->pMethods = &self->m_methods;
        return rc;
    }

    // Every method passes the default VFS's file on; xWrite fails while told to.
    static void wrap(sqlite3_io_methods& m) {
        m.xClose = [](sqlite3_file* f) { return real(f)->pMethods->xClose(real(f)); };
        m.xRead = [](sqlite3_file* f, void* p, int n, sqlite3_int64 at) {
            return real(f)->pMethods->xRead(real(f), p, n, at);
        };
        m.xWrite = [](sqlite3_file* f, const void* p, int n, sqlite3_int64 at) {
            FailingVfs& self = instance();
            if (const int code = self.m_failure; code != SQLITE_OK) {
                ++self.m_failures;
                return code;
            }
            return real(f)->pMethods->xWrite(real(f), p, n, at);
        };
        m.xTruncate = [](sqlite3_file* f, sqlite3_int64 size) {
            return real(f)->pMethods->xTruncate(real(f), size);
        };
        m.xSync = [](sqlite3_file* f, int flags) {
            return real(f)->pMethods->xSync(real(f), flags);
        };
        m.xFileSize = [](sqlite3_file* f, sqlite3_int64* size) {
            return real(f)->pMethods->xFileSize(real(f), size);
        };
        m.xLock = [](sqlite3_file* f, int lock) { return real(f)->pMethods->xLock(real(f), lock); };
        m.xUnlock = [](sqlite3_file* f, int lock) {
            return real(f)->pMethods->xUnlock(real(f), lock);
        };
        m.xCheckReservedLock = [](sqlite3_file* f, int* out) {
            return real(f)->pMethods->xCheckReservedLock(real(f), out);
        };
        m.xFileControl = [](sqlite3_file* f, int op, void* arg) {
            return real(f)->pMethods->xFileControl(real(f), op, arg);
        };
        m.xSectorSize = [](sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); };
        m.xDeviceCharacteristics = [](sqlite3_file* f) {
            return real(f)->pMethods->xDeviceCharacteristics(real(f));
        };
        if (m.iVersion >= 2) {
            m.xShmMap = [](sqlite3_file* f, int region, int size, int extend, void volatile** p) {
                return real(f)->pMethods->xShmMap(real(f), region, size, extend, p);
            };
            m.xShmLock = [](sqlite3_file* f, int offset, int n, int flags) {
                return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
            };
            m.xShmBarrier = [](sqlite3_file* f) { real(f)->pMethods->xShmBarrier(real(f)); };
            m.xShmUnmap = [](sqlite3_file* f, int deleteFlag) {
                return real(f)->pMethods->xShmUnmap(real(f), deleteFlag);
            };
        }
        if (m.iVersion >= 3) {
            m.xFetch = [](sqlite3_file* f, sqlite3_int64 at, int n, void** p) {
                return real(f)->pMethods->xFetch(real(f), at, n, p);
            };
            m.xUnfetch = [](sqlite3_file* f, sqlite3_int64 at, void* p) {
                return real(f)->pMethods->xUnfetch(real(f), at, p);
            };
        }
    }

    sqlite3_vfs* m_real = nullptr;
    sqlite3_vfs m_vfs{};
    sqlite3_io_methods m_methods{}; // the default VFS's, each passing on
    std::atomic<int> m_failure = SQLITE_OK;
    std::atomic<int> m_failures = 0;
};

} // namespace merv::test
