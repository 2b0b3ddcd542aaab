#include "common/messages.h"

#include <ostream>

namespace zerkavi {

std::ostream& operator<<(std::ostream& os, Message m) {
    return os << static_cast<int>(m);
}

} // namespace zerkavi
