// The program's entry point. Start-up and shutdown grow here as the frame,
// the editors and the settings arrive.
#include <cstdio>

int main(int argc, char** argv) {
  std::printf("Pelmora 3\n");
  return 0;
}
