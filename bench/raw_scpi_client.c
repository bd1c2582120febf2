#include "bench/raw_scpi_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

int raw_scpi_connect(int port) {
  struct sockaddr_in address;
  int on = 1;
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons((unsigned short)port);
  if (connect(fd, (struct sockaddr*)&address, sizeof address) != 0) {
    close(fd);
    return -1;
  }
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
}

int raw_scpi_query(int fd, const char* command, char* reply, size_t size, int timeout_ms) {
  char line[512];
  size_t length = strlen(command);
  size_t got = 0;
  if (size == 0 || length + 1 > sizeof line) return -1;
  memcpy(line, command, length);
  line[length] = '\n';
  if (send(fd, line, length + 1, MSG_NOSIGNAL) != (ssize_t)(length + 1)) return -1;
  /* Request and reply alternate, so nothing follows the reply's line feed. */
  for (;;) {
    struct pollfd entry;
    ssize_t n;
    char* end;
    entry.fd = fd;
    entry.events = POLLIN;
    entry.revents = 0;
    if (got + 1 >= size) return -1;
    if (poll(&entry, 1, timeout_ms) != 1) return -1;
    n = recv(fd, reply + got, size - 1 - got, 0);
    if (n <= 0) return -1;
    end = memchr(reply + got, '\n', (size_t)n);
    got += (size_t)n;
    if (end) {
      got = (size_t)(end - reply);
      break;
    }
  }
  reply[got] = '\0';
  return (int)got;
}

void raw_scpi_close(int fd) {
  if (fd >= 0) close(fd);
}

int raw_scpi_send(int fd, const void* data, size_t size) {
  const char* bytes = (const char*)data;
  while (size > 0) {
    ssize_t n = send(fd, bytes, size, MSG_NOSIGNAL);
    if (n <= 0) return -1;
    bytes += n;
    size -= (size_t)n;
  }
  return 0;
}

/* Receives into reply[*got .. capacity) once; 0, or -1 on time-out, error or end. */
static int receive_more(int fd, char* reply, size_t capacity, size_t* got, int timeout_ms) {
  struct pollfd entry;
  ssize_t n;
  entry.fd = fd;
  entry.events = POLLIN;
  entry.revents = 0;
  if (*got >= capacity || poll(&entry, 1, timeout_ms) != 1) return -1;
  n = recv(fd, reply + *got, capacity - *got, 0);
  if (n <= 0) return -1;
  *got += (size_t)n;
  return 0;
}

long raw_scpi_read_block(int fd, char* reply, size_t capacity, const char** data, int timeout_ms) {
  size_t got = 0;
  size_t digits;
  size_t length = 0;
  size_t i;
  while (got < 2) {
    if (receive_more(fd, reply, capacity, &got, timeout_ms) != 0) return -1;
  }
  if (reply[0] != '#' || reply[1] < '1' || reply[1] > '9') return -1;
  digits = (size_t)(reply[1] - '0');
  while (got < 2 + digits) {
    if (receive_more(fd, reply, capacity, &got, timeout_ms) != 0) return -1;
  }
  for (i = 0; i < digits; ++i) {
    if (reply[2 + i] < '0' || reply[2 + i] > '9') return -1;
    length = length * 10 + (size_t)(reply[2 + i] - '0');
  }
  if (length + digits + 3 > capacity) return -1;
  while (got < length + digits + 3) {
    if (receive_more(fd, reply, length + digits + 3, &got, timeout_ms) != 0) return -1;
  }
  if (reply[length + digits + 2] != '\n') return -1;
  *data = reply + 2 + digits;
  return (long)length;
}
