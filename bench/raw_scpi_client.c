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
