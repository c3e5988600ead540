#include "app/time_stamp_record.h"

#include <cstring>

#include "app/editor_window_services.h"
#include "platform/kernel_base.h"
#include "platform/sync.h"
#include "store/tower.h"

namespace {
struct TimeStampPayload {
  SYSTEMTIME time;
  std::uint32_t zero;
  std::uint32_t entropy[8];
};
static_assert(sizeof(TimeStampPayload) == kTimeStampRecordSize);
static_assert(offsetof(TimeStampPayload, entropy) == 20);
}  // namespace

Tower* AddTimeStampRecord(const Tower* t) {
  if (!t) return nullptr;
  TimeStampPayload record{};
  GetLocalTime(&record.time);
  std::memcpy(record.entropy, EntropyPool, sizeof record.entropy);
  return InsertEntity(t, sizeof record, Type_TimeStamp, &record);
}
