#include "platform/uuid.h"

#include <uuid/uuid.h>

#include <cstdlib>
#include <cstring>

namespace {

// libuuid keeps the 16 bytes in string order: Data1 to Data3 big-endian.
void ToBytes(const UUID& u, uuid_t out) {
  out[0] = static_cast<unsigned char>(u.Data1 >> 24);
  out[1] = static_cast<unsigned char>(u.Data1 >> 16);
  out[2] = static_cast<unsigned char>(u.Data1 >> 8);
  out[3] = static_cast<unsigned char>(u.Data1);
  out[4] = static_cast<unsigned char>(u.Data2 >> 8);
  out[5] = static_cast<unsigned char>(u.Data2);
  out[6] = static_cast<unsigned char>(u.Data3 >> 8);
  out[7] = static_cast<unsigned char>(u.Data3);
  std::memcpy(out + 8, u.Data4, 8);
}

void FromBytes(const uuid_t in, UUID& u) {
  u.Data1 = (static_cast<DWORD>(in[0]) << 24) | (static_cast<DWORD>(in[1]) << 16) |
            (static_cast<DWORD>(in[2]) << 8) | in[3];
  u.Data2 = static_cast<WORD>((in[4] << 8) | in[5]);
  u.Data3 = static_cast<WORD>((in[6] << 8) | in[7]);
  std::memcpy(u.Data4, in + 8, 8);
}

void Bytes(const UUID* u, uuid_t out) {
  if (u) ToBytes(*u, out);
  else uuid_clear(out);
}

void Ok(RPC_STATUS* status) {
  if (status) *status = RPC_S_OK;
}

}  // namespace

RPC_STATUS UuidCreate(UUID* uuid) {
  if (!uuid) return RPC_S_OUT_OF_MEMORY;
  uuid_t bytes;
  uuid_generate_random(bytes);
  FromBytes(bytes, *uuid);
  return RPC_S_OK;
}

RPC_STATUS UuidCreateNil(UUID* uuid) {
  if (uuid) std::memset(uuid, 0, sizeof *uuid);
  return RPC_S_OK;
}

RPC_STATUS UuidToString(const UUID* uuid, RPC_CSTR* text) {
  if (!text) return RPC_S_OUT_OF_MEMORY;
  uuid_t bytes;
  Bytes(uuid, bytes);
  char* out = static_cast<char*>(std::malloc(37));
  if (!out) return *text = nullptr, RPC_S_OUT_OF_MEMORY;
  uuid_unparse_lower(bytes, out);
  *text = reinterpret_cast<RPC_CSTR>(out);
  return RPC_S_OK;
}

RPC_STATUS UuidFromString(RPC_CSTR text, UUID* uuid) {
  if (!uuid) return RPC_S_INVALID_STRING_UUID;
  if (!text) return UuidCreateNil(uuid);
  uuid_t bytes;
  if (uuid_parse(reinterpret_cast<const char*>(text), bytes) != 0) return RPC_S_INVALID_STRING_UUID;
  FromBytes(bytes, *uuid);
  return RPC_S_OK;
}

RPC_STATUS RpcStringFree(RPC_CSTR* text) {
  if (text) {
    std::free(*text);
    *text = nullptr;
  }
  return RPC_S_OK;
}

int UuidCompare(UUID* a, UUID* b, RPC_STATUS* status) {
  Ok(status);
  uuid_t x, y;
  Bytes(a, x);
  Bytes(b, y);
  int order = uuid_compare(x, y);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int UuidEqual(UUID* a, UUID* b, RPC_STATUS* status) { return UuidCompare(a, b, status) == 0 ? TRUE : FALSE; }

int UuidIsNil(UUID* uuid, RPC_STATUS* status) {
  Ok(status);
  uuid_t bytes;
  Bytes(uuid, bytes);
  return uuid_is_null(bytes) ? TRUE : FALSE;
}
