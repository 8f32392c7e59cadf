// FIXME: replaced by the scripting host's entry point.
int main() { return 0; }
