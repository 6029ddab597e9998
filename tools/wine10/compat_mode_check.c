/* Exits 0 when this machine's kernel lets a 64-bit process run 32-bit x86
 * code, as Wine's wow64 mode does for every 32-bit Windows program: a far
 * jump to the kernel's 32-bit user code segment and a far return back.
 * Where the kernel offers no such segment (32-bit emulation switched off)
 * the jump faults and the process dies of SIGSEGV. */
#include <stdint.h>
#include <stdio.h>
#include <sys/mman.h>

enum { kUser32CodeSegment = 0x23, kUser64CodeSegment = 0x33 };

uint64_t saved_stack; /* the 64-bit stack while the 32-bit code runs */

int main(void) {
  /* Code and stack below 4 GB, where 32-bit addresses reach (the return
   * address too: built -no-pie). */
  uint8_t* low = mmap((void*)0x100000, 2 * 4096, PROT_READ | PROT_WRITE | PROT_EXEC,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
  if (low == MAP_FAILED) {
    perror("mmap");
    return 2;
  }
  low[0] = 0xCB; /* retf: pops the 32-bit return address and segment */
  struct {
    uint32_t offset;
    uint16_t segment;
  } __attribute__((packed)) target = {(uint32_t)(uintptr_t)low, kUser32CodeSegment};
  __asm__ volatile(
      "mov %%rsp, saved_stack(%%rip)\n\t"
      "mov %1, %%rsp\n\t"
      "lea 1f(%%rip), %%rax\n\t"
      "movl %%eax, (%%rsp)\n\t"
      "movl %2, 4(%%rsp)\n\t"
      "ljmpl *(%0)\n\t"
      "1:\n\t"
      "mov saved_stack(%%rip), %%rsp\n\t"
      :
        /* the target by a register: the stack it lay on is switched away */
      : "r"(&target), "r"((uint64_t)(uintptr_t)(low + 2 * 4096 - 16)), "i"(kUser64CodeSegment)
      : "rax", "memory");
  return 0;
}
