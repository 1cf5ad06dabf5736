/*
 * gate_sim: runs the TRELVIX gate firmware in simavr.
 *
 *   gate_sim check [--variant main|small-queue|late] [--start-overflows N] [-v] gate.elf
 *       Drives the inputs on a fixed schedule, captures the UART and checks
 *       what the gate says. Prints one "ok"/"FAIL" line per check and a
 *       closing "N passed, N failed" line; exits 0 when every check passed.
 *
 *   gate_sim pty [--link PATH] [--reset-on-open] gate.elf
 *       Runs the gate in real time with its UART on a pseudo-terminal, for a
 *       program to open as a serial port (PATH: a symbolic link to it, made
 *       and removed by gate_sim). Lines go out whole as their LF leaves the
 *       gate, and only while the terminal is open: nothing piles up before.
 *       --reset-on-open resets the gate each time a program opens the
 *       terminal, as an Arduino Uno resets when its port is opened.
 *       Prints "PTY <path>" on stdout, then reads commands on stdin, one a
 *       line:
 *         <car>            the car's input goes low for 2 ms (a crossing)
 *         <car> <ms>       the car's input goes low for <ms> milliseconds
 *         reset            resets the microcontroller (the gate says hello again)
 *         quit             ends
 *       and answers each crossing with "PRESS <car> <micros>", the gate's own
 *       time of the edge, and each reset with "RESET". Ends on quit, at
 *       the end of stdin, on SIGINT or SIGTERM, and removes the link.
 */
#include <avr_ioport.h>
#include <avr_uart.h>
#include <sim_avr.h>
#include <sim_cycle_timers.h>
#include <sim_elf.h>
#include <sim_interrupts.h>
#include <sim_io.h>
#include <sim_irq.h>

#include <ctype.h>
#include <errno.h>
#include <fcntl.h>
#include <inttypes.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#define CPU_HZ 16000000ULL
#define CYCLES_PER_US 16ULL
#define US(x) ((uint64_t)(x) * CYCLES_PER_US)
#define MS(x) (US(x) * 1000ULL)

/* What the firmware promises; keep in step with gate.c. */
#define DEBOUNCE_US 50000ULL
#define HEARTBEAT_US 250000ULL
#define LED_FLASH_US 100000ULL
#define OVERFLOW_CYCLES (65536ULL * 8ULL) /* timer 1, clock / 8 */
#define OVERFLOW_US (OVERFLOW_CYCLES / CYCLES_PER_US)
#define TIMER1_OVF_VECTOR 13
#define MAX_LINE 64
#define CARS 12

/*
 * How late a stamp may be after the edge that made it. The timer is read
 * first thing in the pin-change interrupt, about 3 us after the edge (the
 * interrupt response and the registers saved before the read: a constant).
 * It can wait a little longer behind the timer-overflow interrupt or a few
 * instructions the main loop runs with interrupts off, under 100 cycles
 * (6.3 us). 20 us leaves room and is still far below anything a lap time
 * can show (a thousandth of a second). When inputs on different ports fall
 * at the same instant, their interrupts run one after another, so the last
 * port waits for the other two: BURST_LATE_US covers that.
 */
#define LATE_US 20
#define BURST_LATE_US 100
/* A heartbeat's first byte leaves HEARTBEAT_SEND_US after its stamp, later
 * by the gate's wait loop, which reads its clock every few microseconds,
 * and by crossings' interrupts running in its last turn. */
#define HEARTBEAT_SEND_US 2000
#define HEARTBEAT_STEADY_US 50
/* The timer's start is seen to a few cycles; a stamp may look that early. */
#define EARLY_US 1

struct pin {
  char port;
  uint8_t bit;
};
static const struct pin car_pin[CARS + 1] = {
    {0, 0},   {'D', 2}, {'D', 3}, {'D', 4}, {'D', 5}, {'D', 6}, {'D', 7},
    {'B', 0}, {'B', 1}, {'B', 2}, {'B', 3}, {'B', 4}, {'C', 0},
};
#define LED_PORT 'B'
#define LED_BIT 5

static avr_t *avr;
static FILE *out; /* our stdout; simavr's own chatter goes to stderr */
static int verbose;

/* ---- driving the inputs ------------------------------------------------ */

static uint8_t ext_mask[3], ext_value[3];
static int port_index(char port) { return port == 'B' ? 0 : port == 'C' ? 1 : 2; }

static void set_input(int car, int level) {
  const struct pin *p = &car_pin[car];
  int i = port_index(p->port);
  if (level)
    ext_value[i] |= (uint8_t)(1U << p->bit);
  else
    ext_value[i] &= (uint8_t)~(1U << p->bit);
  /* An external level, so that the firmware's own port writes (the LED)
   * do not put the pull-up's high back on an input held low. */
  avr_ioport_external_t e = {.name = (unsigned long)p->port, .mask = ext_mask[i], .value = ext_value[i]};
  avr_ioctl(avr, AVR_IOCTL_IOPORT_SET_EXTERNAL(p->port), &e);
  avr_raise_irq(avr_io_getirq(avr, AVR_IOCTL_IOPORT_GETIRQ(p->port), p->bit), (uint32_t)level);
}

static void inputs_idle(void) {
  memset(ext_mask, 0, sizeof ext_mask);
  for (int car = 1; car <= CARS; car++) ext_mask[port_index(car_pin[car].port)] |= (uint8_t)(1U << car_pin[car].bit);
  memcpy(ext_value, ext_mask, sizeof ext_value);
  for (int car = 1; car <= CARS; car++) set_input(car, 1);
}

/* A change of one input at a cycle; `pass` is the index of the crossing it
 * should stamp, or -1. */
struct edge {
  uint64_t cycle;
  uint8_t car, level;
  int pass;
};
static struct edge *edges;
static size_t edge_count, edge_cap, edge_next;

/* A crossing the gate has to report. */
struct pass {
  int car;
  uint64_t planned; /* cycle */
  uint64_t actual;  /* cycle the edge really happened (between instructions) */
  int burst;        /* part of inputs on several ports falling together */
  int line;         /* index of the P line that reported it, or -1 */
};
static struct pass passes[256];
static int pass_count;

static void (*on_crossing)(int car, uint64_t cycle);

static avr_cycle_count_t run_edges(avr_t *a, avr_cycle_count_t when, void *param) {
  (void)when;
  (void)param;
  while (edge_next < edge_count && edges[edge_next].cycle <= a->cycle) {
    struct edge *e = &edges[edge_next++];
    set_input(e->car, e->level);
    if (e->pass >= 0) passes[e->pass].actual = a->cycle;
    if (!e->level && on_crossing) on_crossing(e->car, a->cycle);
    if (verbose > 1 && !e->level) fprintf(out, "  %10.3f ms  edge car %d\n", (double)a->cycle / (double)MS(1), e->car);
  }
  return edge_next < edge_count ? edges[edge_next].cycle : 0;
}

static void edges_rearm(void) {
  if (edge_next >= edge_count) return;
  uint64_t at = edges[edge_next].cycle;
  avr_cycle_timer_register(avr, at > avr->cycle ? at - avr->cycle : 1, run_edges, NULL);
}

static void add_edge(uint64_t cycle, int car, int level, int pass) {
  if (edge_count == edge_cap) {
    edge_cap = edge_cap ? edge_cap * 2 : 256;
    edges = realloc(edges, edge_cap * sizeof *edges);
    if (!edges) abort();
  }
  size_t i = edge_count++;
  while (i > edge_next && edges[i - 1].cycle > cycle) {
    edges[i] = edges[i - 1];
    i--;
  }
  edges[i] = (struct edge){cycle, (uint8_t)car, (uint8_t)level, pass};
}

static int expect_pass(int car, uint64_t cycle, int burst) {
  if (pass_count == (int)(sizeof passes / sizeof passes[0])) abort();
  passes[pass_count] = (struct pass){car, cycle, 0, burst, -1};
  return pass_count++;
}

/* A clean crossing: low for low_us, then high again. */
static void crossing(int car, uint64_t cycle, uint64_t low_us, int burst) {
  add_edge(cycle, car, 0, expect_pass(car, cycle, burst));
  add_edge(cycle + US(low_us), car, 1, -1);
}

/* ---- watching the gate ------------------------------------------------- */

struct line {
  char text[256];
  size_t len;            /* bytes including the LF */
  uint64_t first, last;  /* cycles of the first byte and of the LF */
  int led_on;            /* LED lit when the LF went out */
};
static struct line lines[4096];
static int line_count;
static struct line partial;

static void (*on_line)(const struct line *l);
static int led_level;
static uint64_t led_changes;

static uint64_t first_overflow; /* cycle of the timer's first overflow */
static uint64_t boot_cycle;     /* cycle of the last reset */
static int64_t timer_after_boot = -1; /* cycles from a reset to the timer's start */
static int pty_master = -1;
static uint64_t pty_dropped;
static int reset_on_open, pty_opens = -1;
static char pty_line[256];
static size_t pty_len;

/* Nobody has the terminal open: the master reads a hang-up. */
static int pty_listener(void) {
  struct pollfd pfd = {pty_master, POLLOUT, 0};
  return poll(&pfd, 1, 0) >= 0 && !(pfd.revents & POLLHUP);
}

/* A whole line to the terminal, as its LF leaves the gate; while nobody
 * listens, lines are dropped instead of piling up in the terminal. */
static int reset_pending;
static int opened(int watch);
static void pty_send_line(void) {
  if (pty_opens >= 0 && opened(pty_opens)) reset_pending = 1;
  if (reset_pending || !pty_listener()) return;
  ssize_t w = write(pty_master, pty_line, pty_len);
  if (w < (ssize_t)pty_len) pty_dropped += pty_len - (size_t)(w < 0 ? 0 : w);
}

static void on_uart_byte(struct avr_irq_t *irq, uint32_t value, void *param) {
  (void)irq;
  (void)param;
  uint8_t b = (uint8_t)value;
  if (pty_master >= 0) {
    if (pty_len < sizeof pty_line) pty_line[pty_len++] = (char)b;
    if (b == '\n' || pty_len == sizeof pty_line) {
      pty_send_line();
      pty_len = 0;
    }
    return;
  }
  if (partial.len == 0) partial.first = avr->cycle;
  if (partial.len < sizeof partial.text - 1) partial.text[partial.len] = (char)b;
  partial.len++;
  if (b == '\n') {
    partial.last = avr->cycle;
    partial.led_on = led_level;
    size_t keep = partial.len < sizeof partial.text - 1 ? partial.len : sizeof partial.text - 1;
    partial.text[keep] = 0;
    if (line_count < (int)(sizeof lines / sizeof lines[0])) lines[line_count++] = partial;
    if (on_line) on_line(&partial);
    if (verbose) fprintf(out, "  %10.3f ms  %s", (double)partial.last / (double)MS(1), partial.text);
    memset(&partial, 0, sizeof partial);
  }
}

static void on_led(struct avr_irq_t *irq, uint32_t value, void *param) {
  (void)irq;
  (void)param;
  if ((int)(value & 1) != led_level) led_changes++;
  led_level = (int)(value & 1);
}

static void on_overflow(struct avr_irq_t *irq, uint32_t value, void *param) {
  (void)irq;
  (void)param;
  if (value && !first_overflow) {
    first_overflow = avr->cycle;
    timer_after_boot = (int64_t)(first_overflow - OVERFLOW_CYCLES - boot_cycle);
  }
}

/* The gate's clock (in whole microseconds, offset left out) at a cycle. */
static uint64_t gate_us(uint64_t cycle) {
  uint64_t start = first_overflow ? first_overflow - OVERFLOW_CYCLES
                   : timer_after_boot >= 0 ? boot_cycle + (uint64_t)timer_after_boot
                                           : boot_cycle;
  return cycle >= start ? (cycle - start) / CYCLES_PER_US : 0;
}

/* ---- the simulator ----------------------------------------------------- */

static avr_t *start_gate(const char *elf) {
  elf_firmware_t fw;
  memset(&fw, 0, sizeof fw);
  if (elf_read_firmware(elf, &fw) != 0) {
    fprintf(stderr, "gate_sim: cannot read %s\n", elf);
    exit(2);
  }
  avr_t *a = avr_make_mcu_by_name("atmega328p");
  if (!a) {
    fprintf(stderr, "gate_sim: simavr has no atmega328p\n");
    exit(2);
  }
  avr_init(a);
  a->log = LOG_ERROR;
  a->frequency = (uint32_t)CPU_HZ;
  avr_load_firmware(a, &fw);
  a->frequency = (uint32_t)CPU_HZ;

  uint32_t flags = 0; /* no console echo, no sleeping while the UART is polled */
  avr_ioctl(a, AVR_IOCTL_UART_SET_FLAGS('0'), &flags);
  avr_irq_register_notify(avr_io_getirq(a, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_OUTPUT), on_uart_byte, NULL);
  avr_irq_register_notify(avr_io_getirq(a, AVR_IOCTL_IOPORT_GETIRQ(LED_PORT), LED_BIT), on_led, NULL);
  avr_irq_register_notify(avr_get_interrupt_irq(a, TIMER1_OVF_VECTOR) + AVR_INT_IRQ_PENDING, on_overflow, NULL);
  return a;
}

static int run_until(uint64_t cycle) {
  while (avr->cycle < cycle) {
    int state = avr_run(avr);
    if (state == cpu_Done || state == cpu_Crashed) return -1;
  }
  return 0;
}

/* ---- the protocol ------------------------------------------------------ */

/* Reads an unsigned decimal without leading zeros that fits in 64 bits. */
static int parse_u64(const char *s, size_t n, uint64_t *v) {
  if (n == 0 || n > 20 || (n > 1 && s[0] == '0')) return 0;
  uint64_t x = 0;
  for (size_t i = 0; i < n; i++) {
    if (!isdigit((unsigned char)s[i])) return 0;
    unsigned d = (unsigned)(s[i] - '0');
    if (x > (UINT64_MAX - d) / 10) return 0;
    x = x * 10 + d;
  }
  *v = x;
  return 1;
}

enum kind { BAD, HELLO, PASS, HEARTBEAT };
struct parsed {
  enum kind kind;
  int car;
  uint64_t micros;
};

/* Parses one line as the program must: exactly, or it is a bad line. */
static struct parsed parse_line(const char *line, size_t len) {
  struct parsed r = {BAD, 0, 0};
  if (len == 0 || len > MAX_LINE || line[len - 1] != '\n') return r;
  size_t n = len - 1;
  if (n && line[n - 1] == '\r') n--;
  for (size_t i = 0; i < n; i++)
    if (line[i] < 0x20 || line[i] > 0x7e) return r;
  static const char hello[] = "TRELVIX-GATE 1";
  size_t hn = sizeof hello - 1;
  if (n >= hn && memcmp(line, hello, hn) == 0) {
    if (n == hn) return (struct parsed){HELLO, 0, 0};
    if (line[hn] == ' ' && n > hn + 1 && line[hn + 1] != ' ' && line[n - 1] != ' ')
      return (struct parsed){HELLO, 0, 0};
    return r;
  }
  if (n >= 3 && line[0] == 'H' && line[1] == ' ') {
    if (parse_u64(line + 2, n - 2, &r.micros)) r.kind = HEARTBEAT;
    return r;
  }
  if (n >= 5 && line[0] == 'P' && line[1] == ' ') {
    const char *sp = memchr(line + 2, ' ', n - 2);
    uint64_t car;
    if (!sp || !parse_u64(line + 2, (size_t)(sp - line - 2), &car) || car < 1 || car > CARS) return r;
    size_t rest = n - (size_t)(sp + 1 - line);
    if (!parse_u64(sp + 1, rest, &r.micros)) return r;
    r.car = (int)car;
    r.kind = PASS;
  }
  return r;
}

/* ---- checks ------------------------------------------------------------ */

static int checks_passed, checks_failed;

static int check(int ok, const char *fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  fprintf(out, "%s - ", ok ? "ok" : "FAIL");
  vfprintf(out, fmt, ap);
  fputc('\n', out);
  va_end(ap);
  if (ok)
    checks_passed++;
  else
    checks_failed++;
  return ok;
}

static struct parsed parsed[sizeof lines / sizeof lines[0]];

static void parse_all(void) {
  for (int i = 0; i < line_count; i++) parsed[i] = parse_line(lines[i].text, lines[i].len);
}

static int count_kind(enum kind k) {
  int n = 0;
  for (int i = 0; i < line_count; i++) n += parsed[i].kind == k;
  return n;
}

/* Every line is a protocol line of at most 64 bytes; the first is the hello;
 * time never goes back. `allowed_bad` lines may be bad (on purpose). */
static void check_stream(int allowed_bad, uint64_t *base_us) {
  check(line_count > 0 && parsed[0].kind == HELLO, "the first line is the hello (%.*s)",
        line_count ? (int)lines[0].len - 1 : 12, line_count ? lines[0].text : "nothing sent");
  check(count_kind(HELLO) == 1, "one hello only (%d): the gate did not reset", count_kind(HELLO));
  size_t longest = 0;
  int bad = 0;
  for (int i = 0; i < line_count; i++) {
    if (lines[i].len > longest) longest = lines[i].len;
    if (parsed[i].kind == BAD) {
      bad++;
      if (bad > allowed_bad) fprintf(out, "  bad line %d: %s", i, lines[i].text);
    }
    if (memchr(lines[i].text, '\r', lines[i].len)) bad += 1000;
  }
  check(longest <= MAX_LINE, "every line is at most %d bytes with its LF (longest %zu)", MAX_LINE, longest);
  check(bad == allowed_bad, "every line matches the protocol, no CR (%d not, %d expected)", bad, allowed_bad);
  uint64_t prev = 0;
  int back = 0;
  for (int i = 0; i < line_count; i++) {
    if (parsed[i].kind != PASS && parsed[i].kind != HEARTBEAT) continue;
    if (parsed[i].micros < prev) back++;
    prev = parsed[i].micros;
  }
  check(back == 0, "stamps never go back from line to line (%d times)", back);

  /* Where the gate's clock started: the first heartbeat's stamp less the
   * time since the timer started, to a whole number of timer overflows. */
  *base_us = 0;
  for (int i = 0; i < line_count; i++)
    if (parsed[i].kind == HEARTBEAT) {
      uint64_t since = gate_us(lines[i].first);
      uint64_t diff = parsed[i].micros + OVERFLOW_US / 2 - since;
      *base_us = diff / OVERFLOW_US * OVERFLOW_US;
      break;
    }
}

/* Each planned crossing is reported once, by the right car, on time; no
 * other P line. */
static void check_passes(uint64_t base_us) {
  int unmatched = 0, missing = 0, late = 0;
  int64_t worst = 0, worst_burst = 0, best = INT64_MAX;
  for (int i = 0; i < line_count; i++) {
    if (parsed[i].kind != PASS) continue;
    /* the planned crossing of that car whose edge is closest before it */
    int found = -1;
    for (int k = 0; k < pass_count; k++) {
      if (passes[k].line >= 0 || !passes[k].actual) continue;
      int64_t d = (int64_t)(parsed[i].micros - base_us) - (int64_t)gate_us(passes[k].actual);
      if (d >= -EARLY_US && d <= BURST_LATE_US) {
        if (passes[k].car != parsed[i].car) continue;
        found = k;
        break;
      }
    }
    if (found < 0) {
      unmatched++;
      fprintf(out, "  P line not planned: %s", lines[i].text);
      continue;
    }
    passes[found].line = i;
    int64_t d = (int64_t)(parsed[i].micros - base_us) - (int64_t)gate_us(passes[found].actual);
    if (d < best) best = d;
    if (passes[found].burst) {
      if (d > worst_burst) worst_burst = d;
    } else {
      if (d > worst) worst = d;
      if (d > LATE_US) late++;
    }
  }
  for (int k = 0; k < pass_count; k++)
    if (passes[k].line < 0) {
      missing++;
      fprintf(out, "  crossing of car %d at %.3f ms not reported\n", passes[k].car,
              (double)passes[k].planned / (double)MS(1));
    }
  check(missing == 0, "every planned crossing is reported (%d of %d missing)", missing, pass_count);
  check(unmatched == 0, "no P line without its crossing (%d)", unmatched);
  check(late == 0 && best >= -EARLY_US,
        "stamps are 0..%d us after their edge (from %" PRId64 " to %" PRId64 " us)", LATE_US,
        best == INT64_MAX ? 0 : best, worst);
  if (worst_burst) check(worst_burst <= BURST_LATE_US, "inputs on three ports at once: stamps at most %d us late (%" PRId64 ")",
                         BURST_LATE_US, worst_burst);
}

static int64_t stamp_of(int pass) {
  return passes[pass].line >= 0 ? (int64_t)parsed[passes[pass].line].micros : -1;
}

/* Heartbeats keep to their period and are stamped just before they leave. */
static void check_heartbeats(uint64_t base_us, uint64_t end_cycle) {
  int n = 0, off_grid = 0, stale = 0;
  uint64_t first = 0, gap = 0, prev = 0, origin = UINT64_MAX;
  int64_t delay_min = INT64_MAX, delay_max = INT64_MIN;
  for (int i = 0; i < line_count; i++) {
    if (parsed[i].kind != HEARTBEAT) continue;
    uint64_t t = parsed[i].micros;
    if (n == 0) first = t;
    if (n && t - prev > gap) gap = t - prev;
    if (t - (uint64_t)n * HEARTBEAT_US < origin) origin = t - (uint64_t)n * HEARTBEAT_US;
    /* the first byte leaves HEARTBEAT_SEND_US after the stamp */
    uint64_t sent = gate_us(lines[i].first) + base_us;
    int64_t delay = (int64_t)(sent - t);
    if (delay < HEARTBEAT_SEND_US - EARLY_US || delay > HEARTBEAT_SEND_US + HEARTBEAT_STEADY_US) stale++;
    if (delay < delay_min) delay_min = delay;
    if (delay > delay_max) delay_max = delay;
    prev = t;
    n++;
  }
  /* heartbeat k at origin + k * period, at most 30 ms late behind P lines */
  int k = 0;
  for (int i = 0; i < line_count; i++) {
    if (parsed[i].kind != HEARTBEAT) continue;
    if (parsed[i].micros - origin - (uint64_t)k * HEARTBEAT_US > 30000) off_grid++;
    k++;
  }
  uint64_t span = gate_us(end_cycle) - (first - base_us);
  uint64_t expected = span / HEARTBEAT_US + 1;
  check(n >= 2 && (uint64_t)n + 1 >= expected && (uint64_t)n <= expected + 1,
        "one heartbeat every %llu ms (%d sent, %llu expected)", HEARTBEAT_US / 1000, n,
        (unsigned long long)expected);
  check(n >= 2 && off_grid == 0, "heartbeats keep their period: each within 30 ms after its slot (%d not)", off_grid);
  check(n >= 2 && gap <= 1000000, "never more than a second between heartbeats (%llu us)", (unsigned long long)gap);
  /* the same delay each time, whatever went out just before it */
  check(n >= 2 && stale == 0, "each heartbeat leaves %d..%d us after its stamp (%d not; %" PRId64 "..%" PRId64 ")",
        HEARTBEAT_SEND_US, HEARTBEAT_SEND_US + HEARTBEAT_STEADY_US, stale, delay_min, delay_max);
}

/* ---- the scenarios ----------------------------------------------------- */

/*
 * Crossings right around timer overflows, planned once the first overflow is
 * seen, to catch a stamp taken as an overflow happens: the pin-change
 * interrupt reads the timer about 45 cycles after the edge and its overflow
 * flag 3 cycles later, so edges 160 cycles before to 48 after an overflow,
 * 8 cycles a step, and 1 cycle a step from 70 to 30 before it, put those
 * reads before, across and after the overflow.
 */
static int sweep_planned, sweep_count;
static void plan_overflow_sweep(uint64_t from_cycle) {
  int64_t offsets[64];
  int n = 0;
  for (int64_t d = -160; d <= 48; d += 8) offsets[n++] = d;
  for (int64_t d = -70; d <= -30; d++)
    if (d % 8) offsets[n++] = d;
  uint64_t n0 = (from_cycle - first_overflow) / OVERFLOW_CYCLES + 1;
  for (int k = 0; k < n; k++) {
    uint64_t ovf = first_overflow + (n0 + (uint64_t)k) * OVERFLOW_CYCLES;
    int car = (k % 2) ? 4 : 9; /* a PD and a PB input, 65 ms apart each */
    crossing(car, (uint64_t)((int64_t)ovf + offsets[k]), 2000, 0);
  }
  edges_rearm();
  sweep_planned = 1;
  sweep_count = n;
}

/*
 * Crossings right as the gate decides to send a heartbeat. A crossing stamped
 * before the heartbeat's stamp but sent after it would make time go back.
 * A crossing (car 11) is planned 1 ms before a heartbeat falls due, so that
 * its P line is still going out then; as each P line's LF leaves, the next
 * car of a chain crosses a little later, by 4 us more each time, until
 * the heartbeat goes out instead. Four such chains cover 0..124 us after an
 * LF, where the gate looks at its queue and stamps the heartbeat.
 */
static const int chain_car[] = {12, 10, 8, 7, 3, 2, 1, 6};
#define CHAIN_STEPS ((int)(sizeof chain_car / sizeof chain_car[0]))
static int race_planned, race_index = -1, race_step, race_crossings, race_count, race_cut;
static void heartbeat_race(const struct line *l) {
  struct parsed p = parse_line(l->text, l->len);
  if (p.kind == HEARTBEAT && !race_planned && first_overflow) {
    uint64_t start = first_overflow - OVERFLOW_CYCLES;
    for (uint64_t k = 4; k <= 7; k++) {
      uint64_t slot = start + US(p.micros + k * HEARTBEAT_US);
      crossing(11, slot - US(1000), 2000, 0);
    }
    edges_rearm();
    race_planned = 1;
    return;
  }
  if (!race_planned) return;
  if (p.kind == HEARTBEAT) {
    if (race_index >= 0 && race_step < CHAIN_STEPS) race_cut++;
    race_index = -1;
    return;
  }
  if (p.kind != PASS) return;
  if (p.car == 11 && p.micros > gate_us(MS(1000))) {
    race_index = race_count++;
    race_step = 0;
  } else if (race_index < 0 || race_step == 0 || p.car != chain_car[race_step - 1]) {
    return;
  }
  if (race_step == CHAIN_STEPS) return;
  uint64_t offset_ns = (uint64_t)(race_index * CHAIN_STEPS + race_step) * 4000;
  crossing(chain_car[race_step], avr->cycle + offset_ns * CYCLES_PER_US / 1000, 2000, 0);
  edges_rearm();
  race_step++;
  race_crossings++;
}

static int scenario_main(void) {
  on_line = heartbeat_race;
  /* car 6 is held low from power-up for 150 ms, car 11 for 120 ms in a race:
   * neither the boot nor a release is a crossing */
  set_input(6, 0);
  add_edge(MS(150), 6, 1, -1);
  crossing(11, MS(400), 120000, 0);

  /* car 3 twice, one second apart */
  int c3a = pass_count;
  crossing(3, MS(100), 2000, 0);
  int c3b = pass_count;
  crossing(3, MS(1100), 2000, 0);

  /* car 7's reed switch bounces for 5 ms: one crossing */
  int bounce = pass_count;
  add_edge(MS(300), 7, 0, expect_pass(7, MS(300), 0));
  static const unsigned bounce_us[] = {180, 420, 900, 1300, 2100, 2500, 3700, 4200, 5000};
  for (unsigned i = 0; i < sizeof bounce_us / sizeof bounce_us[0]; i++)
    add_edge(MS(300) + US(bounce_us[i]), 7, (i % 2) == 0, -1);
  /* a car held on the sensor for 40 ms, then clean */
  crossing(10, MS(350), 40000, 0);

  /* two cars within a millisecond, on different ports */
  int near_a = pass_count;
  crossing(1, MS(500), 2000, 0);
  int near_b = pass_count;
  crossing(12, MS(500) + US(400), 2000, 0);
  /* two cars at the very same instant */
  int same_a = pass_count;
  crossing(2, MS(600), 2000, 1);
  int same_b = pass_count;
  crossing(8, MS(600), 2000, 1);
  /* all twelve at once */
  int all_first = pass_count;
  for (int car = 1; car <= CARS; car++) crossing(car, MS(700), 3000, 1);

  /* car 5's sensor flaps at 1 kHz for 300 ms: one crossing per debounce time */
  for (int k = 0; k < 300; k++) {
    uint64_t at = MS(800) + MS((uint64_t)k);
    add_edge(at, 5, 0, -1);
    add_edge(at + US(500), 5, 1, -1);
  }

  edges_rearm();
  const uint64_t end = MS(3600);
  /* first run to the first overflow, then plan the sweep around overflows */
  while (!first_overflow && avr->cycle < end)
    if (run_until(avr->cycle + 1000) < 0) break;
  if (first_overflow) plan_overflow_sweep(MS(1200));
  if (run_until(end) < 0) {
    check(0, "the simulated gate ran to the end");
    return 1;
  }
  check(sweep_planned, "the gate's timer overflows (seen at %.3f ms); %d crossings planned around overflows",
        (double)first_overflow / (double)MS(1), sweep_count);
  /* some chains reach past the heartbeat's stamp, so the sweep covered it */
  check(race_count == 4 && race_crossings >= 8 && race_cut >= 1,
        "crossings as heartbeats fell due: %d chains, %d crossings, %d cut by the heartbeat", race_count,
        race_crossings, race_cut);

  parse_all();
  uint64_t base = 0;
  check_stream(0, &base);
  check(base == 0, "the clock starts at zero at boot (%llu)", (unsigned long long)base);

  /* the flapping sensor's P lines are not planned one by one */
  int flap_lines[64], flaps = 0;
  for (int i = 0; i < line_count; i++)
    if (parsed[i].kind == PASS && parsed[i].car == 5 && parsed[i].micros >= gate_us(MS(799)) &&
        parsed[i].micros < gate_us(MS(1101))) {
      if (flaps < 64) flap_lines[flaps] = i;
      flaps++;
      parsed[i].kind = BAD; /* taken out of the plain passes check */
    }
  check_passes(base);
  for (int i = 0; i < flaps && i < 64; i++) parsed[flap_lines[i]].kind = PASS;

  int64_t a = stamp_of(c3a), b = stamp_of(c3b);
  int64_t interval = b - a;
  check(a >= 0 && b >= 0 && llabs(interval - 1000000) <= LATE_US,
        "car 3: stamps 1000.000 ms apart within %d us (%" PRId64 ")", LATE_US, interval);
  int bounced = 0;
  for (int i = 0; i < line_count; i++)
    if (parsed[i].kind == PASS && parsed[i].car == 7 && parsed[i].micros >= gate_us(MS(299)) &&
        parsed[i].micros < gate_us(MS(400)))
      bounced++;
  check(bounced == 1 && stamp_of(bounce) >= 0, "a bouncing reed switch gives one crossing (%d)", bounced);
  int64_t near = stamp_of(near_b) - stamp_of(near_a);
  check(stamp_of(near_a) >= 0 && stamp_of(near_b) >= 0 && llabs(near - 400) <= LATE_US,
        "cars 1 and 12 0.4 ms apart: both, 400 us apart within %d us (%" PRId64 ")", LATE_US, near);
  int64_t same = stamp_of(same_b) - stamp_of(same_a);
  check(stamp_of(same_a) >= 0 && stamp_of(same_b) >= 0 && llabs(same) <= BURST_LATE_US,
        "cars 2 and 8 at once: both, within %d us (%" PRId64 ")", BURST_LATE_US, same);
  int all = 0;
  for (int car = 1; car <= CARS; car++) all += stamp_of(all_first + car - 1) >= 0;
  check(all == CARS, "twelve cars at once: twelve crossings (%d)", all);

  int spacing_bad = 0;
  for (int i = 1; i < flaps && i < 64; i++) {
    uint64_t d = parsed[flap_lines[i]].micros - parsed[flap_lines[i - 1]].micros;
    if (d < DEBOUNCE_US - 1 || d > DEBOUNCE_US + 1000 + LATE_US) spacing_bad++;
  }
  check(flaps == 6 && spacing_bad == 0,
        "a sensor flapping at 1 kHz for 300 ms: 6 crossings 50..51 ms apart (%d, %d spaced wrong)", flaps,
        spacing_bad);

  check_heartbeats(base, end);

  int led_off_pass = 0;
  for (int i = 0; i < line_count; i++)
    if (parsed[i].kind == PASS && !lines[i].led_on) led_off_pass++;
  check(led_off_pass == 0 && led_changes >= 2, "the LED is lit as each P line goes out (%d not)", led_off_pass);
  check(led_level == 0, "the LED is dark again once crossings stop");
  return 0;
}

/* With a queue of four, twelve at once cannot all be kept: the loss is told. */
static int scenario_small_queue(void) {
  for (int car = 1; car <= CARS; car++) add_edge(MS(100), car, 0, -1);
  for (int car = 1; car <= CARS; car++) add_edge(MS(103), car, 1, -1);
  crossing(1, MS(300), 2000, 0);
  edges_rearm();
  while (!first_overflow && avr->cycle < MS(200)) /* the first comes at 33 ms */
    if (run_until(avr->cycle + 1000) < 0) break;
  if (run_until(MS(600)) < 0) {
    check(0, "the simulated gate ran to the end");
    return 1;
  }
  parse_all();
  int burst_p = 0, lost_line = -1;
  uint64_t lost = 0;
  for (int i = 0; i < line_count; i++) {
    if (parsed[i].kind == PASS && parsed[i].micros < gate_us(MS(200))) burst_p++;
    if (parsed[i].kind == BAD && strncmp(lines[i].text, "# lost ", 7) == 0) {
      lost_line = i;
      char *end;
      lost = strtoull(lines[i].text + 7, &end, 10);
    }
  }
  uint64_t base = 0;
  check_stream(1, &base);
  check(lost_line >= 0, "the lost crossings are reported on a line of their own");
  check(burst_p >= 1 && burst_p + (int)lost == CARS, "crossings sent (%d) and lost (%llu) add up to twelve", burst_p,
        (unsigned long long)lost);
  /* the first P line after the loss is car 1's at 300 ms */
  int after = 0;
  for (int i = lost_line + 1; lost_line >= 0 && i < line_count; i++)
    if (parsed[i].kind == PASS) {
      after = parsed[i].car == 1;
      break;
    }
  check(after, "the gate goes on with the next crossing after the loss");
  return 0;
}

/* Started late on its clock: stamps across 2^32 us keep their intervals. */
static int scenario_late(uint64_t start_overflows) {
  int p[4];
  for (int k = 0; k < 4; k++) {
    p[k] = pass_count;
    crossing(6, MS(200) + MS(500 * (uint64_t)k), 2000, 0);
  }
  edges_rearm();
  while (!first_overflow && avr->cycle < MS(200)) /* the first comes at 33 ms */
    if (run_until(avr->cycle + 1000) < 0) break;
  const uint64_t end = MS(1800);
  if (run_until(end) < 0) {
    check(0, "the simulated gate ran to the end");
    return 1;
  }
  parse_all();
  uint64_t base = 0;
  check_stream(0, &base);
  check(base == start_overflows * OVERFLOW_US, "the clock starts where the build set it (%llu us)",
        (unsigned long long)base);
  check_passes(base);
  int bad = 0;
  for (int k = 1; k < 4; k++) {
    int64_t d = stamp_of(p[k]) - stamp_of(p[k - 1]);
    if (stamp_of(p[k]) < 0 || stamp_of(p[k - 1]) < 0 || llabs(d - 500000) > LATE_US) bad++;
  }
  uint64_t lo = UINT64_MAX, hi = 0;
  for (int i = 0; i < line_count; i++)
    if (parsed[i].kind == PASS || parsed[i].kind == HEARTBEAT) {
      if (parsed[i].micros < lo) lo = parsed[i].micros;
      if (parsed[i].micros > hi) hi = parsed[i].micros;
    }
  check(bad == 0, "stamps 500.000 ms apart within %d us (%d not)", LATE_US, bad);
  fprintf(out, "  stamps from %llu to %llu us\n", (unsigned long long)lo, (unsigned long long)hi);
  check_heartbeats(base, end);
  return 0;
}

/* ---- real time on a pseudo-terminal ------------------------------------ */

static volatile sig_atomic_t stop;
static void on_signal(int sig) {
  (void)sig;
  stop = 1;
}

static void announce_crossing(int car, uint64_t cycle) {
  fprintf(out, "PRESS %d %llu\n", car, (unsigned long long)gate_us(cycle));
  fflush(out);
}

static double wall_now(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

/* Resets the microcontroller; the inputs stay as they are driven. */
static void reset_gate(void) {
  avr_reset(avr);
  boot_cycle = avr->cycle;
  first_overflow = 0;
  pty_len = 0;
  static const struct {
    char port;
    uint16_t pin_address; /* PINx in data space */
  } ports[] = {{'B', 0x23}, {'C', 0x26}, {'D', 0x29}};
  for (unsigned i = 0; i < sizeof ports / sizeof ports[0]; i++)
    avr->data[ports[i].pin_address] = ext_value[port_index(ports[i].port)];
  fprintf(out, "RESET\n");
  fflush(out);
}

static void handle_command(char *cmd) {
  int car = 0;
  unsigned ms = 2;
  while (*cmd == ' ') cmd++;
  if (strncmp(cmd, "quit", 4) == 0) {
    stop = 1;
  } else if (strncmp(cmd, "reset", 5) == 0) {
    reset_gate();
  } else if (sscanf(cmd, "%d %u", &car, &ms) >= 1 && car >= 1 && car <= CARS && ms >= 1 && ms <= 60000) {
    uint64_t at = avr->cycle + 16;
    add_edge(at, car, 0, -1);
    add_edge(at + MS(ms), car, 1, -1);
    edges_rearm();
  } else if (*cmd) {
    fprintf(stderr, "gate_sim: unknown command: %s\n", cmd);
  }
}

/* Whether the terminal was opened since the last look. */
static int opened(int watch) {
  char buf[4096] __attribute__((aligned(__alignof__(struct inotify_event))));
  int any = 0;
  while (read(watch, buf, sizeof buf) > 0) any = 1;
  return any;
}

static int run_pty(const char *link) {
  int slave;
  char name[256];
  if (openpty(&pty_master, &slave, name, NULL, NULL) != 0) {
    perror("gate_sim: openpty");
    return 2;
  }
  struct termios tio;
  tcgetattr(slave, &tio);
  cfmakeraw(&tio);
  cfsetspeed(&tio, B115200);
  tcsetattr(slave, TCSANOW, &tio);
  /* Ours closed, the master sees a hang-up until a program opens it. */
  close(slave);
  if (reset_on_open) {
    pty_opens = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (pty_opens < 0 || inotify_add_watch(pty_opens, name, IN_OPEN) < 0) {
      perror("gate_sim: watching the terminal");
      return 2;
    }
  }
  fcntl(pty_master, F_SETFL, fcntl(pty_master, F_GETFL) | O_NONBLOCK);
  if (link) {
    struct stat st;
    if (lstat(link, &st) == 0 && S_ISLNK(st.st_mode)) unlink(link);
    if (symlink(name, link) != 0) {
      perror("gate_sim: symlink");
      return 2;
    }
  }
  signal(SIGINT, on_signal);
  signal(SIGTERM, on_signal);
  signal(SIGPIPE, SIG_IGN);
  on_crossing = announce_crossing;
  fprintf(out, "PTY %s\n", name);
  fflush(out);

  char buf[256];
  size_t have = 0;
  double t0 = wall_now();
  uint64_t c0 = avr->cycle;
  while (!stop) {
    if (run_until(avr->cycle + MS(1)) < 0) break;
    /* opened: reset, as a board reset by DTR */
    if (reset_pending || (pty_opens >= 0 && opened(pty_opens))) {
      reset_pending = 0;
      reset_gate();
    }
    /* keep to the wall clock: never ahead of it */
    double due = t0 + (double)(avr->cycle - c0) / (double)CPU_HZ;
    double now = wall_now();
    if (due > now) {
      struct timespec ts = {(time_t)(due - now), (long)((due - now - (double)(time_t)(due - now)) * 1e9)};
      nanosleep(&ts, NULL);
    }
    struct pollfd pfd = {0, POLLIN, 0};
    if (poll(&pfd, 1, 0) <= 0) continue;
    ssize_t r = read(0, buf + have, sizeof buf - 1 - have);
    if (r <= 0) break; /* stdin closed: whoever drove us is gone */
    have += (size_t)r;
    buf[have] = 0;
    char *nl;
    while ((nl = strchr(buf, '\n'))) {
      *nl = 0;
      handle_command(buf);
      size_t used = (size_t)(nl + 1 - buf);
      memmove(buf, nl + 1, have - used + 1);
      have -= used;
    }
    if (have == sizeof buf - 1) have = 0;
  }
  if (link) unlink(link);
  if (pty_dropped) fprintf(stderr, "gate_sim: %llu bytes not taken by the terminal\n", (unsigned long long)pty_dropped);
  close(pty_master);
  return 0;
}

/* ---- main -------------------------------------------------------------- */

static int usage(void) {
  fprintf(stderr,
          "usage: gate_sim check [--variant main|small-queue|late] [--start-overflows N] [-v] gate.elf\n"
          "       gate_sim pty [--link PATH] [--reset-on-open] gate.elf\n");
  return 2;
}

int main(int argc, char **argv) {
  /* simavr prints on stdout; ours is kept for our own lines */
  int fd = dup(1);
  dup2(2, 1);
  out = fdopen(fd, "w");
  if (!out) return 2;
  setvbuf(out, NULL, _IOLBF, 0);

  if (argc < 3) return usage();
  const char *mode = argv[1], *variant = "main", *link = NULL, *elf = NULL;
  uint64_t start_overflows = 0;
  for (int i = 2; i < argc; i++) {
    if (strcmp(argv[i], "--variant") == 0 && i + 1 < argc)
      variant = argv[++i];
    else if (strcmp(argv[i], "--start-overflows") == 0 && i + 1 < argc)
      start_overflows = strtoull(argv[++i], NULL, 0);
    else if (strcmp(argv[i], "--link") == 0 && i + 1 < argc)
      link = argv[++i];
    else if (strcmp(argv[i], "--reset-on-open") == 0)
      reset_on_open = 1;
    else if (strcmp(argv[i], "-v") == 0)
      verbose++;
    else if (argv[i][0] != '-' && !elf)
      elf = argv[i];
    else
      return usage();
  }
  if (!elf) return usage();

  avr = start_gate(elf);
  inputs_idle();

  if (strcmp(mode, "pty") == 0) return run_pty(link);
  if (strcmp(mode, "check") != 0) return usage();

  fprintf(out, "# %s, variant %s\n", elf, variant);
  if (strcmp(variant, "main") == 0)
    scenario_main();
  else if (strcmp(variant, "small-queue") == 0)
    scenario_small_queue();
  else if (strcmp(variant, "late") == 0)
    scenario_late(start_overflows);
  else
    return usage();
  fprintf(out, "%s: %d passed, %d failed\n", variant, checks_passed, checks_failed);
  return checks_failed ? 1 : 0;
}
