#include "bench/peer_client.h"

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "bench/raw_scpi_client.h"

enum { kWarmupQueries = 200, kControlTimeoutMs = 30000 };

struct peer_wire peer_wire = {PEER_WIRE_SOCKET, 0};
/* The client's name in result lines, with its wire. */
static char g_result_name[64];

void peer_resource(int port, char* out, size_t size) {
  switch (peer_wire.kind) {
    case PEER_WIRE_VXI11:
      snprintf(out, size, "TCPIP::127.0.0.1::inst0::INSTR");
      return;
    case PEER_WIRE_HISLIP:
      snprintf(out, size, "TCPIP::127.0.0.1::hislip0,%d::INSTR", peer_wire.hislip_port);
      return;
    case PEER_WIRE_SOCKET:
      break;
  }
  snprintf(out, size, "TCPIP::127.0.0.1::%d::SOCKET", port);
}

/* Takes a leading "--wire vxi11|hislip:PORT"; 0 when the arguments are usable. */
static int take_wire(int* argc, char*** argv) {
  const char* wire;
  if (*argc < 3 || strcmp((*argv)[1], "--wire") != 0) return 0;
  wire = (*argv)[2];
  if (strcmp(wire, "vxi11") == 0) {
    peer_wire.kind = PEER_WIRE_VXI11;
  } else if (strncmp(wire, "hislip:", 7) == 0 && atoi(wire + 7) > 0) {
    peer_wire.kind = PEER_WIRE_HISLIP;
    peer_wire.hislip_port = atoi(wire + 7);
  } else if (strcmp(wire, "socket") != 0) {
    return -1;
  }
  (*argv)[2] = (*argv)[0];
  *argv += 2;
  *argc -= 2;
  return 0;
}

static double now_us(clockid_t clock) {
  struct timespec t;
  clock_gettime(clock, &t);
  return (double)t.tv_sec * 1e6 + (double)t.tv_nsec / 1e3;
}

static int compare_doubles(const void* a, const void* b) {
  double x = *(const double*)a;
  double y = *(const double*)b;
  return (x > y) - (x < y);
}

/* The sample at fraction `q` of the sorted samples. */
static double quantile(double* samples, size_t n, double q) {
  size_t index = (size_t)(q * (double)(n - 1) + 0.5);
  qsort(samples, n, sizeof *samples, compare_doubles);
  return samples[index];
}

static int control_query(int control, const char* command, char* reply, size_t size) {
  if (raw_scpi_query(control, command, reply, size, kControlTimeoutMs) < 0) {
    fprintf(stderr, "no reply to %s\n", command);
    return -1;
  }
  return 0;
}

/* The voltage and current of map point i (in a TQR-M4's range, micro-unit exact). */
static double map_value(size_t index) {
  size_t point = index / 2;
  if (index % 2 == 0) return (double)((long)(point % 2001) - 1000) * 0.012345;
  return (double)(point % 1000) * 0.012345;
}

static int run_queries(const struct peer_client* client, int control, long count) {
  char reply[64];
  double* samples = malloc((size_t)count * sizeof *samples);
  double volts = 0;
  double cpu;
  long i;
  int rc = -1;
  if (samples == NULL || control_query(control, ":VOLT 1.5;*OPC?", reply, sizeof reply) != 0) {
    goto done;
  }
  for (i = 0; i < kWarmupQueries; ++i) {
    if (client->query_voltage(&volts) != 0) goto done;
  }
  cpu = now_us(CLOCK_PROCESS_CPUTIME_ID);
  for (i = 0; i < count; ++i) {
    double start = now_us(CLOCK_MONOTONIC);
    if (client->query_voltage(&volts) != 0 || volts != 1.5) {
      fprintf(stderr, "%s: query %ld failed or read %g\n", client->name, i, volts);
      goto done;
    }
    samples[i] = now_us(CLOCK_MONOTONIC) - start;
  }
  cpu = (now_us(CLOCK_PROCESS_CPUTIME_ID) - cpu) / (double)count;
  printf("RESULT %s query %ld %.2f %.2f %.2f\n", g_result_name, count,
         quantile(samples, (size_t)count, 0.5), quantile(samples, (size_t)count, 0.99), cpu);
  rc = 0;
done:
  free(samples);
  return rc;
}

/* Writes a `points`-point voltage map over the control connection. */
static int load_voltage_map(int control, size_t points) {
  size_t bytes = points * 8;
  char header[32];
  int header_length = snprintf(header, sizeof header, ":VOLT:IV:DATA #%d%zu",
                               snprintf(NULL, 0, "%zu", bytes), bytes);
  unsigned char* message = malloc((size_t)header_length + bytes + 1);
  char reply[64];
  size_t i;
  int rc = -1;
  if (message == NULL) return -1;
  memcpy(message, header, (size_t)header_length);
  for (i = 0; i < 2 * points; ++i) {
    uint32_t word = (uint32_t)(int32_t)llround(map_value(i) * 1e6);
    unsigned char* out = message + header_length + 4 * i;
    out[0] = (unsigned char)word;
    out[1] = (unsigned char)(word >> 8);
    out[2] = (unsigned char)(word >> 16);
    out[3] = (unsigned char)(word >> 24);
  }
  message[(size_t)header_length + bytes] = '\n';
  if (raw_scpi_send(control, message, (size_t)header_length + bytes + 1) == 0 &&
      control_query(control, ":VOLT:IV:COUN?", reply, sizeof reply) == 0 &&
      strtoul(reply, NULL, 10) == points) {
    rc = 0;
  } else {
    fprintf(stderr, "tqr-sim did not take a %zu-point map (start it with --iv-max-points)\n",
            points);
  }
  free(message);
  return rc;
}

static void report_bulk(const char* client, const char* what, size_t size, double* samples,
                        size_t rounds) {
  double median = quantile(samples, rounds, 0.5);
  printf("RESULT %s %s %zu %.1f %.1f\n", client, what, size, median, samples[0]);
}

static int run_map_reads(const struct peer_client* client, int control, long points, long rounds) {
  size_t capacity = 2 * (size_t)points;
  double* values = malloc(capacity * sizeof *values);
  double* samples = malloc((size_t)rounds * sizeof *samples);
  long round;
  int rc = -1;
  if (values == NULL || samples == NULL || load_voltage_map(control, (size_t)points) != 0) {
    goto done;
  }
  for (round = -1; round < rounds; ++round) { /* round -1 warms up */
    size_t count = 0;
    double start = now_us(CLOCK_MONOTONIC);
    if (client->read_voltage_map(values, capacity, &count) != 0 || count != capacity ||
        fabs(values[capacity - 2] - map_value(capacity - 2)) > 1e-6) {
      fprintf(stderr, "%s: map read %ld failed (%zu values)\n", client->name, round, count);
      goto done;
    }
    if (round >= 0) samples[round] = now_us(CLOCK_MONOTONIC) - start;
  }
  report_bulk(g_result_name, "ivmap", capacity * 4, samples, (size_t)rounds);
  rc = 0;
done:
  free(values);
  free(samples);
  return rc;
}

/* The output on a 10 ohm load and the integration gate open by hand: every
 * simulated second logs one charge value. */
static int start_logging(int control) {
  char reply[64];
  return control_query(control,
                       "*RST;:SIM:LOAD 10;:VOLT 5;:CURR 1;:OUTP 1;:DATA:INT:GATE MAN;"
                       ":DATA:INT:RES;:DATA:INT:STAR;*OPC?",
                       reply, sizeof reply);
}

static int refill_log(int control, long values) {
  char command[64];
  char reply[64];
  snprintf(command, sizeof command, "SIM:TIME:ADV %ld;:DATA:REM:POIN?", values);
  if (control_query(control, command, reply, sizeof reply) != 0) return -1;
  if (strtol(reply, NULL, 10) < values) {
    fprintf(stderr, "tqr-sim logged %s values (start it with --log-capacity %ld)\n", reply, values);
    return -1;
  }
  return 0;
}

static int run_list_reads(const struct peer_client* client, int control, long wanted, long rounds) {
  double* values = malloc((size_t)wanted * sizeof *values);
  double* samples = malloc((size_t)rounds * sizeof *samples);
  long round;
  int rc = -1;
  if (values == NULL || samples == NULL || start_logging(control) != 0) goto done;
  for (round = -1; round < rounds; ++round) { /* round -1 warms up */
    size_t count = 0;
    double start;
    if (refill_log(control, wanted) != 0) goto done;
    start = now_us(CLOCK_MONOTONIC);
    if (client->read_logged_values((size_t)wanted, values, (size_t)wanted, &count) != 0 ||
        count != (size_t)wanted || !(values[count - 1] > values[0])) {
      fprintf(stderr, "%s: list read %ld failed (%zu values)\n", client->name, round, count);
      goto done;
    }
    if (round >= 0) samples[round] = now_us(CLOCK_MONOTONIC) - start;
  }
  report_bulk(g_result_name, "list", (size_t)wanted, samples, (size_t)rounds);
  rc = 0;
done:
  free(values);
  free(samples);
  return rc;
}

static long parse_count(const char* text, long max) {
  char* end = NULL;
  long value = strtol(text, &end, 10);
  return (end != text && *end == '\0' && value > 0 && value <= max) ? value : -1;
}

int peer_main(const struct peer_client* client, int argc, char** argv) {
  long port;
  long size;
  long rounds = 20;
  int control;
  int rc = 1;
  if (take_wire(&argc, &argv) != 0 || argc < 4 || argc > 5) {
    fprintf(stderr,
            "usage: %s [--wire vxi11|hislip:PORT] PORT query N | ivmap POINTS [ROUNDS] | "
            "list VALUES [ROUNDS]\n",
            argv[0]);
    return 2;
  }
  snprintf(g_result_name, sizeof g_result_name, "%s%s", client->name,
           peer_wire.kind == PEER_WIRE_VXI11    ? "/vxi11"
           : peer_wire.kind == PEER_WIRE_HISLIP ? "/hislip"
                                                : "");
  port = parse_count(argv[1], 65535);
  size = parse_count(argv[3], 10000000);
  if (argc == 5) rounds = parse_count(argv[4], 100000);
  if (port < 0 || size < 0 || rounds < 0) {
    fprintf(stderr, "%s: bad number\n", argv[0]);
    return 2;
  }
  control = raw_scpi_connect((int)port);
  if (control < 0 || client->open((int)port) != 0) {
    fprintf(stderr, "%s: cannot connect to port %ld\n", client->name, port);
    raw_scpi_close(control);
    return 1;
  }
  if (strcmp(argv[2], "query") == 0) {
    rc = run_queries(client, control, size) == 0 ? 0 : 1;
  } else if (strcmp(argv[2], "ivmap") == 0) {
    rc = run_map_reads(client, control, size, rounds) == 0 ? 0 : 1;
  } else if (strcmp(argv[2], "list") == 0) {
    rc = run_list_reads(client, control, size, rounds) == 0 ? 0 : 1;
  } else {
    fprintf(stderr, "%s: unknown loop %s\n", argv[0], argv[2]);
    rc = 2;
  }
  client->close();
  raw_scpi_close(control);
  return rc;
}
