#include "app/boxes.h"

#include <algorithm>

#include "objects/new_documents.h"
#include "platform/reset_hooks.h"

namespace pl3 {
namespace {

std::uint32_t U(std::int32_t v) { return static_cast<std::uint32_t>(v); }
std::int32_t S(std::uint32_t v) { return static_cast<std::int32_t>(v); }

}  // namespace

void UnionBox(Box* box, const Box* other) {
  if (other->xmin == 0 && other->ymin == 0 && other->xmax == 0 && other->ymax == 0) return;
  box->xmin = S(std::min(U(box->xmin), U(other->xmin)));
  box->ymin = S(std::min(U(box->ymin), U(other->ymin)));
  box->xmax = S(std::max(U(box->xmax), U(other->xmax)));
  box->ymax = S(std::max(U(box->ymax), U(other->ymax)));
}

void ExtendBoxByPoint(Box* box, std::int32_t x, std::int32_t y) {
  box->xmin = S(std::min(U(box->xmin), U(x)));
  box->ymin = S(std::min(U(box->ymin), U(y)));
  box->xmax = S(std::max(U(box->xmax), U(x)));
  box->ymax = S(std::max(U(box->ymax), U(y)));
}

}  // namespace pl3

pl3::Box GlobalExtentsBox = {182880000, 182880000, 1828800000, 1828800000};

void ResetExtentsBox() { GlobalExtentsBox = {182880000, 182880000, 1828800000, 1828800000}; }

namespace {
const bool gExtentsResetRegistered = pl3::RegisterGlobalReset(&ResetExtentsBox);
}  // namespace
