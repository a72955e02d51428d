#pragma once

// Error numbers returned by public operations; 0 is success. The values follow the
// classic run-time error numbers the file manager's family of tools has always used,
// so a message can name them the same way.
namespace calvenor {

enum ErrorNumber : int {
    errNone = 0,
    errInvalidCall = 5,          // an argument the operation cannot use
    errSubscriptOutOfRange = 9,  // an index or name outside a fixed table
    errFileNotFound = 53,
    errDiskFull = 61,
    errPermissionDenied = 70,
    errPathFileAccess = 75,      // the path names something that is not a plain file
    errPathNotFound = 76,
};

} // namespace calvenor
