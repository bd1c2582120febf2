/* The plain C socket client of the peer comparison: what any program can do
 * with send, recv and strtod, and the floor the libraries are measured against. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include "bench/peer_client.h"
#include "bench/raw_scpi_client.h"

enum { kTimeoutMs = 10000 };

static int g_fd = -1;
static char* g_reply;
static size_t g_reply_size;

/* A reply buffer of at least `size` bytes, kept between calls. */
static char* reply_buffer(size_t size) {
  if (size > g_reply_size) {
    char* bigger = realloc(g_reply, size);
    if (bigger == NULL) return NULL;
    g_reply = bigger;
    g_reply_size = size;
  }
  return g_reply;
}

static int raw_open(int port) {
  g_fd = raw_scpi_connect(port);
  return g_fd >= 0 ? 0 : -1;
}

static int raw_query_voltage(double* volts) {
  char reply[64];
  char* end = NULL;
  if (raw_scpi_query(g_fd, ":VOLT?", reply, sizeof reply, kTimeoutMs) <= 0) return -1;
  *volts = strtod(reply, &end);
  return *end == '\0' ? 0 : -1;
}

static int raw_read_voltage_map(double* values, size_t capacity, size_t* count) {
  size_t size = capacity * 4 + 16;
  char* reply = reply_buffer(size);
  const char* data = NULL;
  long length;
  size_t i;
  if (reply == NULL || raw_scpi_send(g_fd, ":VOLT:IV:DATA?\n", 15) != 0) return -1;
  length = raw_scpi_read_block(g_fd, reply, size, &data, kTimeoutMs);
  if (length < 0 || length % 4 != 0 || (size_t)length / 4 > capacity) return -1;
  for (i = 0; i < (size_t)length / 4; ++i) {
    const unsigned char* word = (const unsigned char*)data + 4 * i;
    uint32_t bits = (uint32_t)word[0] | (uint32_t)word[1] << 8 | (uint32_t)word[2] << 16 |
                    (uint32_t)word[3] << 24;
    values[i] = (double)(int32_t)bits / 1e6;
  }
  *count = (size_t)length / 4;
  return 0;
}

static int raw_read_logged_values(size_t wanted, double* values, size_t capacity, size_t* count) {
  size_t size = wanted * 32 + 64;
  char* reply = reply_buffer(size);
  char command[48];
  const char* next;
  size_t n = 0;
  if (reply == NULL) return -1;
  snprintf(command, sizeof command, ":DATA:REM? %zu", wanted);
  if (raw_scpi_query(g_fd, command, reply, size, kTimeoutMs) < 0) return -1;
  next = reply;
  while (*next != '\0' && n < capacity) {
    char* end = NULL;
    values[n++] = strtod(next, &end);
    if (end == next || (*end != ',' && *end != '\0')) return -1;
    next = *end == ',' ? end + 1 : end;
  }
  *count = n;
  return 0;
}

static void raw_close(void) {
  raw_scpi_close(g_fd);
  free(g_reply);
}

int main(int argc, char** argv) {
  static const struct peer_client client = {
      "raw-c",  raw_open, raw_query_voltage, raw_read_voltage_map, raw_read_logged_values,
      raw_close};
  return peer_main(&client, argc, argv);
}
