#include "app/application_globals.h"

#include "store/node_pool.h"
#include "store/tower_file.h"

void InitApplicationGlobals() { InitTowerStore(); }

void FreeApplicationGlobals() {
  // The store goes last: nothing may touch it afterwards.
  ReleaseTowerStore();
  FreeFileRepointTable();
}
