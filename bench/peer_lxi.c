/* liblxi in the peer comparison (raw socket, or VXI-11 with --wire vxi11): the query loop
 * only. */
#include <lxi.h>
#include <stdlib.h>

#include "bench/peer_client.h"

enum { kTimeoutMs = 10000 };

static int g_device = -1;

static int lxi_open(int port) {
  if (lxi_init() != LXI_OK) return -1;
  if (peer_wire.kind == PEER_WIRE_VXI11) {
    g_device = lxi_connect("127.0.0.1", 0, "inst0", kTimeoutMs, VXI11);
  } else if (peer_wire.kind == PEER_WIRE_SOCKET) {
    g_device = lxi_connect("127.0.0.1", port, NULL, kTimeoutMs, RAW);
  }
  return g_device < 0 ? -1 : 0;
}

static int lxi_query_voltage(double* volts) {
  char reply[64];
  char* end = NULL;
  int length;
  if (lxi_send(g_device, ":VOLT?\n", 7, kTimeoutMs) != 7) return -1;
  length = lxi_receive(g_device, reply, (int)sizeof reply - 1, kTimeoutMs);
  if (length <= 0) return -1;
  reply[length] = '\0';
  *volts = strtod(reply, &end);
  return (*end == '\n' || *end == '\0') ? 0 : -1;
}

/* The bulk loops compare the driver with PyVISA and the raw client only. */
static int lxi_read_voltage_map(double* values, size_t capacity, size_t* count) {
  (void)values;
  (void)capacity;
  (void)count;
  return -1;
}

static int lxi_read_logged_values(size_t wanted, double* values, size_t capacity, size_t* count) {
  (void)wanted;
  return lxi_read_voltage_map(values, capacity, count);
}

static void lxi_close(void) {
  if (g_device >= 0) lxi_disconnect(g_device);
}

int main(int argc, char** argv) {
  static const struct peer_client client = {
      "liblxi", lxi_open, lxi_query_voltage, lxi_read_voltage_map, lxi_read_logged_values,
      lxi_close};
  return peer_main(&client, argc, argv);
}
