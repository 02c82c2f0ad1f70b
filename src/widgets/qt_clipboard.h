#pragma once
// The desktop's clipboard through Qt.
#include "platform/clipboard.h"

namespace kv {

class QtClipboard : public Clipboard {
public:
    std::string text() const override;
    void setText(std::string_view text) override;
    void clear() override;
};

} // namespace kv
