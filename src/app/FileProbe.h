#pragma once
// The real settings-file probe: opens a file by name for reading and closes it at once. It never
// blocks (a FIFO without a writer, a device), never writes, never creates, and leaves no
// descriptor open; only a regular file that could be opened counts as readable.

#include "model/Platform.h"

namespace tarvo {

class SystemFileProbe final : public FileProbe {
public:
    bool probeReadable(const std::string& name) override;
};

} // namespace tarvo
