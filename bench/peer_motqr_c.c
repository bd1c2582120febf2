/* The driver through its C functions in the peer comparison (status checking
 * off, as the other clients do not check the instrument's error queue). */
#include <stdio.h>

#include "bench/peer_client.h"
#include "capi/motqr.h"

static ViSession g_vi = VI_NULL;

static int c_open(int port) {
  char resource[64];
  peer_resource(port, resource, sizeof resource);
  return motqr_InitWithOptions(resource, VI_FALSE, VI_FALSE, "QueryInstrStatus=false,Cache=false",
                               &g_vi) < 0
             ? -1
             : 0;
}

static int c_query_voltage(double* volts) {
  return motqr_GetAttributeViReal64(g_vi, "OutputChannel1", MOTQR_ATTR_VOLTAGE_LEVEL, volts) < 0
             ? -1
             : 0;
}

static int c_read_voltage_map(double* values, size_t capacity, size_t* count) {
  ViInt32 actual = 0;
  if (motqr_GetVoltageIVMap(g_vi, "OutputChannel1", (ViInt32)capacity, values, &actual) < 0) {
    return -1;
  }
  *count = (size_t)actual;
  return 0;
}

static int c_read_logged_values(size_t wanted, double* values, size_t capacity, size_t* count) {
  ViInt32 actual = 0;
  if (motqr_RemoveIntegralData(g_vi, (ViInt32)wanted, (ViInt32)capacity, values, &actual) < 0) {
    return -1;
  }
  *count = (size_t)actual;
  return 0;
}

static void c_close(void) { motqr_close(g_vi); }

int main(int argc, char** argv) {
  static const struct peer_client client = {
      "motqr-c", c_open, c_query_voltage, c_read_voltage_map, c_read_logged_values, c_close};
  return peer_main(&client, argc, argv);
}
