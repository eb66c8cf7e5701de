#pragma once
namespace vak {
struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
}  // namespace vak
