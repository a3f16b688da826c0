#pragma once

#include <sqlite3.h>

#include <map>
#include <memory>

namespace zav::test {

/**
 * @brief A full disk for the archives opened while it lives: every write of a database file or of
 * its journal fails as a full disk does (SQLITE_FULL). It is SQLite's own file layer, made the
 * default for new connections, with the write of each opened file replaced; everything else goes
 * to the real layer. Connections opened before it keep writing.
 */
class FullDiskScope
{
public:
    FullDiskScope()
    {
        s_real = sqlite3_vfs_find(nullptr);
        s_shim = *s_real;
        s_shim.zName = "zav-disco-pieno";
        s_shim.xOpen = &open;
        sqlite3_vfs_register(&s_shim, 1);
    }
    ~FullDiskScope()
    {
        sqlite3_vfs_unregister(&s_shim);
        sqlite3_vfs_register(s_real, 1);
    }
    FullDiskScope(const FullDiskScope &) = delete;
    FullDiskScope &operator=(const FullDiskScope &) = delete;

private:
    static int open(sqlite3_vfs *, const char *name, sqlite3_file *file, int flags, int *outFlags)
    {
        const int result = s_real->xOpen(s_real, name, file, flags, outFlags);
        if (result != SQLITE_OK || !file->pMethods)
            return result;
        // The real layer's methods for this kind of file, with a write that finds the disk full.
        std::unique_ptr<sqlite3_io_methods> &patched = s_patched[file->pMethods];
        if (!patched) {
            patched = std::make_unique<sqlite3_io_methods>(*file->pMethods);
            patched->xWrite = &write;
        }
        file->pMethods = patched.get();
        return result;
    }

    static int write(sqlite3_file *, const void *, int, sqlite3_int64) { return SQLITE_FULL; }

    static inline sqlite3_vfs *s_real = nullptr;
    static inline sqlite3_vfs s_shim {};
    static inline std::map<const sqlite3_io_methods *, std::unique_ptr<sqlite3_io_methods>> s_patched;
};

} // namespace zav::test
