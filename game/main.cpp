// Until the game's scenes exist, the program shows a test pattern.
int main() { return 0; }
