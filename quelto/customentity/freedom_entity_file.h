// CFreedomEntityFile: one definition file (.dom) naming a software and the custom entity classes it adds.
// Reading distinguishes the outcomes the module treats differently (missing, too new, empty, damaged) so
// that the registry, the definition tool and the fuzz target can each report them their own way.
#pragma once

#include "platform/mfc_types.h"
#include "quelto/customentity/freedom_entity.h"

#include <string>

struct CFreedomReadResult {
    enum Status {
        Read,               // the body was read (or the file is empty by its data version)
        CannotOpen,         // the file could not be opened
        TooNew,             // file version above the one this system reads
        UnknownDataVersion, // data version 2 or more
        Damaged,            // truncated or malformed: `reason` says where and what
    };
    Status status = Read;
    CString reason;
};

class CFreedomEntityFile {
public:
    static constexpr std::int32_t CurrentFileVersion = 1;
    static constexpr std::int32_t CurrentDataVersion = 1;

    // "Tarnwell/Quelto/Freedom" in the common application-data folder.
    static CString GetFolder();
    // The path of the definition file `name` in the folder; "*" gives the pattern of all of them.
    static CString GetFilePath(const CString& name);
    // Full paths of every definition file in the folder, sorted by name as the Windows file system lists
    // them (so which of two files defining one class wins does not depend on the disk's order).
    static CStringArray ListFiles();

    // The module's read: refuses a too-new file with a message box, reports a damaged file once (until
    // it changes) and skips it; TRUE when the body was read.
    BOOL Read(const CString& path);
    // Reads without any message; the entities read so far are dropped unless the status is Read.
    CFreedomReadResult ReadFile(const CString& path);
    CFreedomReadResult ReadBytes(std::string bytes);

    // Writes file version 1, data version 1 and the body, replacing the file only once it is complete.
    BOOL Save(const CString& path) const;
    std::string SaveBytes() const;

    CArray<CFreedomEntity> entities;
    CString softName;
    CString fileNote;
    CString fileNote2;
};
