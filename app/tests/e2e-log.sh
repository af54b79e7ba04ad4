# Sourced by the end-to-end scripts: the installer log as the tests expect it.

# The bytes of a log holding the given lines: the byte-order mark, then UTF-16LE lines with CR LF.
log_bytes() {
  printf '\xff\xfe'
  printf '%s\r\n' "$@" | iconv -f utf-8 -t utf-16le
}

# set_checks_passed VERSION: the lines of a run that passes every prerequisite, up to the drive
# check, on a system that reports VERSION ("6.1"). Fills the array checks_passed.
set_checks_passed() {
  checks_passed=(
    "Logfile opened"
    "Checking for administrator credentials..."
    "Admin credentials were found"
    "Checking Windows version..."
    "Current Windows version = $1"
    "Windows 2000 or later was found"
    "Checking system power status..."
    "System is on AC power"
    "Checking hard drive model..."
  )
}
