#include "settings/options.h"

namespace vorsa {

const std::string& Paths::Of(OptionFile f) const {
    switch (f) {
        case OptionFile::Local:
            return gFileIni;
        case OptionFile::Data:
            return gFileDati;
        case OptionFile::Lock:
            return gFileLock;
        case OptionFile::Password:
            return gFilePassword;
    }
    return gFileIni;
}

}  // namespace vorsa
