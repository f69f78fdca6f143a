#include "platform/Popover.h"

namespace vorelt {

Popover::Popover() = default;

Popover::~Popover() = default;

}  // namespace vorelt
