# Facts about the product that the desktop files, the man pages and the
# Debian package share.
set(TELVARIN_APP_ID "com.quorvel.TelvarinGenerator")
set(TELVARIN_VENDOR "Quorvel")
set(TELVARIN_HOMEPAGE "https://quorvel.example/telvarin-generator")
set(TELVARIN_MAINTAINER "Quorvel Support <support@quorvel.example>")
set(TELVARIN_SUMMARY "diagnostic report for Quorvel printers")
# The date of this release: the AppStream release, the man pages' date and
# the package changelog. Change it with PROJECT_VERSION.
set(TELVARIN_RELEASE_DATE "2025-06-02")
set(TELVARIN_RELEASE_MONTH "June 2025")
set(TELVARIN_RELEASE_DATE_RFC2822 "Mon, 02 Jun 2025 12:00:00 +0000")
