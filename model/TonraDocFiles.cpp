// The document's files: the connection file read at New.
#include "model/TonraDoc.h"

bool CTonraDoc::ReadConnectionFile() {
    // No connection file is kept yet: the connection settings stay as they are.
    return false;
}
