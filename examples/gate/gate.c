/*
 * TRELVIX reference sensor gate for an ATmega328P at 16 MHz.
 *
 * Stamps falling edges on up to twelve active-low inputs in pin-change
 * interrupts and reports them to TRELVIX over the UART at 115200 baud, 8N1:
 *
 *   TRELVIX-GATE 1 <firmware>   once at boot (every reset boots)
 *   P <car> <micros>            one line per stamped crossing
 *   H <micros>                  heartbeat every HEARTBEAT_US
 *
 * micros counts microseconds since boot and never goes back; lines leave in
 * the order of their stamps. The wiring is in README.md beside this file.
 */
#include <avr/interrupt.h>
#include <avr/io.h>
#include <avr/pgmspace.h>
#include <avr/wdt.h>
#include <stdint.h>
#include <string.h>

#ifndef F_CPU
#define F_CPU 16000000UL
#endif

#define FIRMWARE_TEXT "trelvix-gate 1.0 atmega328p"

/* An input ignores every edge for this long after a stamped crossing. */
#define DEBOUNCE_US 50000UL
/* Heartbeat period; the program needs at least one a second. */
#define HEARTBEAT_US 250000UL
/* A heartbeat's first byte leaves this long after its stamp, always: long
 * enough for the slowest decimal conversion (about 1.3 ms for 19 digits). */
#define HEARTBEAT_SEND_US 2000UL
/* The LED on D13 lights for this long after each crossing is sent. */
#define LED_FLASH_US 100000UL

/*
 * Crossings waiting to be sent (a power of two). Each input stamps at most
 * one crossing per DEBOUNCE_US, so at most twelve arrive in any 50 ms. The
 * main loop sends a P line in at most 3.5 ms (1.3 ms to write the number,
 * 26 bytes at 87 us) and lets at most one heartbeat (4 ms) in between, so
 * it sends at least twelve lines in any 50 ms that it has them: the queue
 * never holds more than 24. Should it ever be full anyway, the crossings
 * that do not fit are counted and reported on a line of their own,
 * "# lost <n>", which is no protocol line: the program counts it as a bad
 * line and shows it.
 */
#ifndef CROSSING_QUEUE_SIZE
#define CROSSING_QUEUE_SIZE 32
#endif

/* Overflow count the clock starts from: zero except in test builds. */
#ifndef START_OVERFLOWS
#define START_OVERFLOWS 0
#endif

#define CARS 12
#define MAX_LINE 64

/* Timer 1 runs at F_CPU / 8 = 2 MHz: two ticks a microsecond. */
#define TICKS_PER_US 2U
#define DEBOUNCE_TICKS ((uint32_t)(DEBOUNCE_US * TICKS_PER_US))
#define HEARTBEAT_TICKS ((uint64_t)HEARTBEAT_US * TICKS_PER_US)
#define HEARTBEAT_SEND_TICKS ((uint64_t)HEARTBEAT_SEND_US * TICKS_PER_US)
#define LED_FLASH_TICKS ((uint64_t)LED_FLASH_US * TICKS_PER_US)

/* Inputs: D2..D7 = PD2..PD7 cars 1..6, D8..D12 = PB0..PB4 cars 7..11,
 * A0 = PC0 car 12. D13 = PB5 is the LED. */
#define INPUTS_D 0xFCU
#define INPUTS_B 0x1FU
#define INPUTS_C 0x01U
#define LED_BIT (1U << PB5)

#define BAUD 115200UL
/* U2X: 16 MHz / (8 * (16 + 1)) = 117647 baud, 2.1 % fast. */
#define UBRR_VALUE ((F_CPU + 4UL * BAUD) / (8UL * BAUD) - 1UL)

#if (CROSSING_QUEUE_SIZE & (CROSSING_QUEUE_SIZE - 1)) != 0 || CROSSING_QUEUE_SIZE > 128
#error "CROSSING_QUEUE_SIZE must be a power of two up to 128"
#endif

struct crossing {
  uint8_t car;
  uint64_t ticks;
};

/* Written by interrupts, read by the main loop with interrupts off. The
 * clock's high 48 bits are kept shifted into place: 0x10000 an overflow. */
static volatile uint64_t clock_high = (uint64_t)START_OVERFLOWS << 16;
static struct crossing queue[CROSSING_QUEUE_SIZE];
static volatile uint8_t queue_head; /* next slot an interrupt fills */
static volatile uint8_t queue_tail; /* next slot the main loop sends */
static volatile uint16_t lost_crossings;

/* Interrupt-only state. */
static uint8_t last_level[3];     /* per port, the levels last seen */
static uint64_t lock_until[CARS]; /* when an input's debounce time ends, in ticks */

/* Clears the watchdog flag before main, or a watchdog reset would loop. */
void early_init(void) __attribute__((naked, used, section(".init3")));
void early_init(void) {
  MCUSR = 0;
  wdt_disable();
}

ISR(TIMER1_OVF_vect) { clock_high = clock_high + 0x10000U; }

/*
 * The clock in ticks from a TCNT1 value and the TIFR1 flags read after it,
 * with interrupts off. An overflow that happened before the read but whose
 * interrupt has not run yet shows as TOV1 set with a small count; with the
 * count near the top the overflow came after the read and is not ours.
 */
static inline uint64_t ticks_from(uint16_t count, uint8_t flags) {
  uint64_t high = clock_high;
  if ((flags & (1U << TOV1)) && count < 0x8000U) high += 0x10000U;
  return high | count;
}

static uint64_t now_ticks(void) {
  uint8_t sreg = SREG;
  cli();
  uint16_t count = TCNT1;
  uint8_t flags = TIFR1;
  uint64_t t = ticks_from(count, flags);
  SREG = sreg;
  return t;
}

/*
 * Stamps the falling edges on one port, in its interrupt. An input inside
 * its debounce time ignores edges.
 */
static void __attribute__((noinline, optimize("O2"))) pins_changed(uint16_t count, uint8_t flags, uint8_t port,
                                                   uint8_t level, uint8_t mask, uint8_t first_bit,
                                                   uint8_t first_car) {
  uint8_t falling = last_level[port] & (uint8_t)~level & mask;
  last_level[port] = level;
  if (!falling) return;
  uint64_t t = ticks_from(count, flags);
  uint8_t car = first_car;
  for (uint8_t bit = (uint8_t)(1U << first_bit); falling; bit <<= 1, car++) {
    if (!(falling & bit)) continue;
    falling &= (uint8_t)~bit;
    uint64_t *until = &lock_until[car - 1];
    if (t < *until) continue;
    *until = t + DEBOUNCE_TICKS;
    uint8_t head = queue_head;
    uint8_t next = (head + 1) & (CROSSING_QUEUE_SIZE - 1);
    if (next == queue_tail) {
      if (lost_crossings != 0xFFFFU) lost_crossings++;
      continue;
    }
    queue[head].car = car;
    queue[head].ticks = t;
    queue_head = next;
  }
}

/* The timer is read first thing, the same way in all three. */
ISR(PCINT2_vect) {
  uint16_t count = TCNT1;
  uint8_t flags = TIFR1;
  pins_changed(count, flags, 0, PIND, INPUTS_D, 2, 1);
}

ISR(PCINT0_vect) {
  uint16_t count = TCNT1;
  uint8_t flags = TIFR1;
  pins_changed(count, flags, 1, PINB, INPUTS_B, 0, 7);
}

ISR(PCINT1_vect) {
  uint16_t count = TCNT1;
  uint8_t flags = TIFR1;
  pins_changed(count, flags, 2, PINC, INPUTS_C, 0, 12);
}

static void uart_init(void) {
  UCSR0A = 1U << U2X0;
  UBRR0 = UBRR_VALUE;
  UCSR0C = (1U << UCSZ01) | (1U << UCSZ00); /* 8N1 */
  UCSR0B = 1U << TXEN0;                     /* receiver off: input is ignored */
}

static void uart_send(const char *s, uint8_t n) {
  for (uint8_t i = 0; i < n; i++) {
    while (!(UCSR0A & (1U << UDRE0))) wdt_reset();
    UDR0 = (uint8_t)s[i];
  }
}

static const uint64_t powers_of_ten[20] PROGMEM = {
    10000000000000000000ULL, 1000000000000000000ULL, 100000000000000000ULL,
    10000000000000000ULL,    1000000000000000ULL,    100000000000000ULL,
    10000000000000ULL,       1000000000000ULL,       100000000000ULL,
    10000000000ULL,          1000000000ULL,          100000000ULL,
    10000000ULL,             1000000ULL,             100000ULL,
    10000ULL,                1000ULL,                100ULL,
    10ULL,                   1ULL};

/* Writes v in decimal without leading zeros; returns the digits written (1..20). */
static uint8_t put_decimal(char *out, uint64_t v) {
  uint8_t n = 0;
  for (uint8_t i = 0; i < 20; i++) {
    uint64_t p;
    memcpy_P(&p, &powers_of_ten[i], sizeof p);
    char digit = '0';
    while (v >= p) {
      v -= p;
      digit++;
    }
    if (digit != '0' || n || i == 19) out[n++] = digit;
  }
  return n;
}

static uint8_t put_text(char *out, const char *s) {
  uint8_t n = 0;
  while (s[n]) {
    out[n] = s[n];
    n++;
  }
  return n;
}

static void send_hello(void) {
  char line[MAX_LINE];
  uint8_t n = put_text(line, "TRELVIX-GATE 1 " FIRMWARE_TEXT);
  line[n++] = '\n';
  uart_send(line, n);
}

static void send_pass(uint8_t car, uint64_t ticks) {
  char line[MAX_LINE];
  uint8_t n = 0;
  line[n++] = 'P';
  line[n++] = ' ';
  n += put_decimal(line + n, car);
  line[n++] = ' ';
  n += put_decimal(line + n, ticks / TICKS_PER_US);
  line[n++] = '\n';
  uart_send(line, n);
}

/* Sends the heartbeat HEARTBEAT_SEND_US after its stamp, so that its delay
 * to the program is the same every time, whatever its digits. */
static void send_heartbeat(uint64_t ticks) {
  char line[MAX_LINE];
  uint8_t n = 0;
  line[n++] = 'H';
  line[n++] = ' ';
  n += put_decimal(line + n, ticks / TICKS_PER_US);
  line[n++] = '\n';
  uint64_t send_at = ticks + HEARTBEAT_SEND_TICKS;
  while (now_ticks() < send_at) wdt_reset();
  uart_send(line, n);
}

static void send_lost(uint16_t count) {
  char line[MAX_LINE];
  uint8_t n = put_text(line, "# lost ");
  n += put_decimal(line + n, count);
  line[n++] = '\n';
  uart_send(line, n);
}

int main(void) {
  /* Inputs with pull-ups; the UART pins stay as the UART sets them. */
  DDRD = 0;
  PORTD = INPUTS_D | 0x01U; /* RXD pulled up too: the receiver is off */
  DDRB = LED_BIT;
  PORTB = INPUTS_B;
  DDRC = 0;
  PORTC = INPUTS_C;

  TCCR1A = 0;
  TCCR1B = 1U << CS11; /* clock / 8 */
  TIMSK1 = 1U << TOIE1;

  uart_init();
  wdt_enable(WDTO_1S);

  /* Levels as they are now, so that an input already low is no crossing. */
  last_level[0] = PIND;
  last_level[1] = PINB;
  last_level[2] = PINC;
  PCMSK2 = INPUTS_D;
  PCMSK0 = INPUTS_B;
  PCMSK1 = INPUTS_C;
  PCIFR = (1U << PCIF0) | (1U << PCIF1) | (1U << PCIF2);
  PCICR = (1U << PCIE0) | (1U << PCIE1) | (1U << PCIE2);
  sei();

  send_hello();

  uint64_t next_heartbeat = now_ticks() + HEARTBEAT_TICKS;
  uint64_t led_off_at = 0;
  uint8_t led_on = 0;

  for (;;) {
    wdt_reset();

    struct crossing c;
    uint8_t have = 0;
    uint16_t lost = 0;
    cli();
    if (queue_tail != queue_head) {
      c = queue[queue_tail];
      queue_tail = (queue_tail + 1) & (CROSSING_QUEUE_SIZE - 1);
      have = 1;
    } else {
      lost = lost_crossings;
      lost_crossings = 0;
    }
    sei();

    if (have) {
      PORTB |= LED_BIT;
      led_on = 1;
      led_off_at = c.ticks + LED_FLASH_TICKS;
      send_pass(c.car, c.ticks);
      continue;
    }
    if (lost) {
      send_lost(lost);
      continue;
    }

    uint64_t now = now_ticks();
    if (led_on && now >= led_off_at) {
      PORTB &= (uint8_t)~LED_BIT;
      led_on = 0;
    }
    if (now < next_heartbeat) continue;

    /*
     * Stamp the heartbeat only with no crossing waiting, in the same breath:
     * a crossing stamped before it but sent after it would make time go
     * back from one line to the next.
     */
    cli();
    if (queue_tail != queue_head) {
      sei();
      continue;
    }
    uint64_t stamp = now_ticks();
    sei();
    send_heartbeat(stamp);
    next_heartbeat += HEARTBEAT_TICKS;
    if (next_heartbeat <= stamp) next_heartbeat = stamp + HEARTBEAT_TICKS;
  }
}
