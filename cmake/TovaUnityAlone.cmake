# Sources compiled alone even in a unity build: each defines a file-local name
# (static function, anonymous-namespace type or constant) that another file of
# its library or test program defines too. Renaming the name lets the file
# rejoin its batch.
set(TOVA_UNITY_ALONE
)
