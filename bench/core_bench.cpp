// placeholder, rewritten below
int main() {}
